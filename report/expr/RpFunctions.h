#pragma once
// The functions of the expression language's global library. Every fault is
// an error value; nothing raises.

#include "report/expr/RpEvElements.h"
#include "report/expr/RpLibrary.h"

namespace report {

class TRpEvIfFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvIfFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvStrFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvStrFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvUpperFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvUpperFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvLowerFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvLowerFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvPrettyFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvPrettyFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvTimeFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvTimeFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvDateFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvDateFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvCopyFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvCopyFunction"; }
    void Compute(TRpEvValue& result) override;
};

// Aggregates: Accumulate runs in the aggregate pass, Compute in every pass.
class TRpEvSumFunction : public TRpEvElementFunction {
public:
    TRpEvSumFunction();
    std::string ClassName() const override { return "TRpEvSumFunction"; }
    void ResetState() override;
    void Accumulate() override;
    void Compute(TRpEvValue& result) override;

protected:
    // The name in the messages of wrong arguments.
    virtual const char* FunctionName() const { return "SUM"; }

    TRpEvValue Total;
    bool HasValue = false;
};

class TRpEvAverageFunction : public TRpEvSumFunction {
public:
    TRpEvAverageFunction();
    std::string ClassName() const override { return "TRpEvAverageFunction"; }
    void ResetState() override;
    void Accumulate() override;
    void Compute(TRpEvValue& result) override;

protected:
    const char* FunctionName() const override { return "AVERAGE"; }

private:
    std::int32_t Steps = 0;
    TRpEvValue Average;
};

class TRpEvCountFunction : public TRpEvElementFunction {
public:
    TRpEvCountFunction();
    std::string ClassName() const override { return "TRpEvCountFunction"; }
    void ResetState() override { Count = 0; }
    void Accumulate() override;
    void Compute(TRpEvValue& result) override;

private:
    std::int32_t Count = 0;
};

// MAX and MIN keep the best value so far.
class TRpEvBestFunction : public TRpEvElementFunction {
public:
    TRpEvBestFunction();
    void ResetState() override;
    void Accumulate() override;
    void Compute(TRpEvValue& result) override;

protected:
    // True when candidate should replace best (both of best's kind).
    virtual bool Better(int comparison) const = 0;
    virtual const char* Name() const = 0;

    TRpEvValue Best;
    bool HasValue = false;
};

class TRpEvMaxFunction : public TRpEvBestFunction {
public:
    std::string ClassName() const override { return "TRpEvMaxFunction"; }

protected:
    bool Better(int comparison) const override { return comparison > 0; }
    const char* Name() const override { return "MAX"; }
};

class TRpEvMinFunction : public TRpEvBestFunction {
public:
    std::string ClassName() const override { return "TRpEvMinFunction"; }

protected:
    bool Better(int comparison) const override { return comparison < 0; }
    const char* Name() const override { return "MIN"; }
};

class TRpEvTrue : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvTrue"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvFalse : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvFalse"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvIntFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvIntFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvFracFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvFracFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvSQRTFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvSQRTFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvDivFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvDivFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvTypeOfFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvTypeOfFunction"; }
    void Compute(TRpEvValue& result) override;
};

class TRpEvFormatNumericFunction : public TRpEvElementFunction {
public:
    std::string ClassName() const override { return "TRpEvFormatNumericFunction"; }
    void Compute(TRpEvValue& result) override;
};

// The supplier text of the standard entries.
inline constexpr const char* kFunctionVendor = "Konverze";

// Registers the 21 standard functions, in their fixed order.
void RegisterStandardFunctions(TRpLibrary& library);

} // namespace report
