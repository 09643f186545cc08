#pragma once
// Lists of text lines: the abstract TStrings and the concrete TStringList.
// Text joins the lines with CR LF; assigning Text splits at CR LF, LF or CR.

#include "platform/core/CodePage.h"
#include "platform/core/Component.h"

#include <string>
#include <vector>

namespace core {

class TStrings : public TPersistent {
public:
    std::string ClassName() const override { return "TStrings"; }

    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text) = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual TObject* Objects(int index) const;
    virtual void PutObject(int index, TObject* object);

    std::string operator[](int index) const { return Get(index); }
    virtual int Add(const std::string& text);
    int AddObject(const std::string& text, TObject* object);
    void AddStrings(const TStrings& other);
    virtual int IndexOf(const std::string& text) const;
    int IndexOfName(const std::string& name) const;
    // The part before / after the first "=" of line index.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);

    std::string Text() const;
    void SetText(const std::string& text);
    // Comma-separated form; items with blanks, commas or quotes are double-quoted.
    std::string CommaText() const;
    void SetCommaText(const std::string& text);

    // Groups changes so that OnChange fires once at the end.
    void BeginUpdate();
    void EndUpdate();

    void Assign(TPersistent* source) override;

    // Files hold the lines in the given code page, each ended by CR LF.
    void SaveToFile(const std::string& fileName, unsigned codePage = CP_UTF8) const;
    void LoadFromFile(const std::string& fileName, unsigned codePage = CP_UTF8);

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void Changing();
    void Changed();
    int UpdateCount() const { return updateCount_; }

private:
    int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;
    std::string ClassName() const override { return "TStringList"; }

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    TObject* Objects(int index) const override;
    void PutObject(int index, TObject* object) override;
    int Add(const std::string& text) override;
    int IndexOf(const std::string& text) const override;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    // Binary search of a sorted list: true and the index when found, else false
    // and the index at which text would be inserted.
    bool Find(const std::string& text, int& index) const;
    void Sort();
    // Owned objects are freed when their lines are deleted and with the list.
    void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }
    ~TStringList() override;

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    int Compare(const std::string& a, const std::string& b) const;
    void CheckIndex(int index) const;

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

} // namespace core
