#pragma once
// Lengths of the report engine. Every length is held in the native unit of
// 0.1 mm as an extended-precision float; designers read and type lengths in a
// chosen unit. Size objects carry native values for their owner and store
// them in a form stream through one defined property, "Values": a list of
// native floats, whatever the unit in which the object is read.

#include "platform/core/Component.h"
#include "platform/core/Filer.h"

#include <cstdint>

namespace report {

class TRpReportSite;

enum class TRpUnit : std::uint8_t { MM = 0, Inches = 1, Pixels = 2, Characters = 3, Native = 4 };

// Set at start-up when the system measures in U.S. units: new unit objects
// and pages then take the imperial defaults, inches and Letter paper.
extern bool UseUSUnits;

// Millimetres per character cell and per text line of a font of that size in points.
long double CharWidth(long double size);
long double CharHeight(long double size);

class TRpUnitBase : public core::TPersistent {
public:
    TRpUnitBase();
    std::string ClassName() const override { return "TRpUnitBase"; }

    // value in native units to unit; horizontal tells which character metric applies.
    virtual long double FromNative(TRpUnit unit, bool horizontal, long double value) const;
    virtual long double ToNative(TRpUnit unit, bool horizontal, long double value) const;
    virtual TRpUnit GetUnits() const { return units_; }
    // Called by the owner once a form stream has been read.
    virtual void Loaded() { ApplySizes(); }
    virtual void ReadValues(core::TReader& reader) { (void)reader; }
    // Pushes the sizes to the owner's control.
    virtual void ApplySizes() {}
    virtual void SetUnits(TRpUnit unit) { units_ = unit; }
    virtual void WriteValues(core::TWriter& writer) { (void)writer; }

    // Registers "Values", always written.
    void DefineProperties(core::TFiler& filer);

    // Reads in pixels until RestoreUnits.
    void SwitchToPixels();
    void RestoreUnits() { units_ = savedUnits_; }

    TRpUnit Units() const { return GetUnits(); }
    TRpUnit SavedUnits() const { return savedUnits_; }
    // The screen's pixels per inch when the object was made.
    std::int32_t Resolution() const { return resolution_; }
    void SetResolution(std::int32_t resolution) { resolution_ = resolution; }
    std::int32_t Zoom() const { return zoom_; }
    void SetZoom(std::int32_t zoom) { zoom_ = zoom; }
    bool ParentUpdating() const { return parentUpdating_; }
    TRpReportSite* ParentReport() const { return parentReport_; }
    void SetParentReport(TRpReportSite* report) { parentReport_ = report; }

    // The report font's size that the Characters unit measures by.
    static constexpr int kDefaultFontSize = 10;

protected:
    std::int32_t resolution_;
    TRpUnit units_;
    TRpUnit savedUnits_;
    TRpReportSite* parentReport_ = nullptr;
    bool parentUpdating_ = false;
    std::int32_t zoom_ = 100;

private:
    long double CharacterSize(bool horizontal) const;
};

} // namespace report
