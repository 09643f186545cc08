// What data-aware controls hear through data sources and links, and how they
// write back: the protocol the register's edits, pickers and grids rely on.

#include "Register.h"

#include "platform/data/DataError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace data;

namespace {

// A stand-in for an edit control bound to one field: it shows the field's
// text and, when the user types, marks the link modified.
struct FakeEdit {
    explicit FakeEdit(TDataSource* source, const std::string& field)
    {
        link.SetControl(&control);
        link.OnDataChange = [this](core::TObject*) {
            ++dataChanges;
            text = link.Field() != nullptr ? link.Field()->Text() : "";
        };
        link.OnEditingChange = [this](core::TObject*) { log.push_back(link.Editing() ? "editing" : "browsing"); };
        link.OnActiveChange = [this](core::TObject*) { log.push_back(link.Active() ? "active" : "inactive"); };
        link.OnUpdateData = [this](core::TObject*) { link.Field()->SetText(text); };
        link.SetFieldName(field);
        link.SetDataSource(source);
    }
    // The user types: the control asks to edit first, as a data-aware edit does.
    bool Type(const std::string& newText)
    {
        if (!link.Edit())
            return false;
        text = newText;
        link.Modified();
        return true;
    }

    core::TComponent control{nullptr};
    TFieldDataLink link;
    std::string text;
    int dataChanges = 0;
    std::vector<std::string> log;
};

// A grid's view: the window of rows the link holds.
std::vector<std::string> Window(TDataLink& link, TField* field)
{
    std::vector<std::string> rows;
    const int saved = link.ActiveRecord();
    for (int i = 0; i < link.RecordCount(); ++i) {
        link.SetActiveRecord(i);
        rows.push_back(field->DisplayText());
    }
    link.SetActiveRecord(saved);
    return rows;
}

class DataLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 1; i <= 20; ++i)
            db.Exec("INSERT INTO konverze (poradove_cislo, datum_konverze, oznaceni_vstupu) VALUES ('" +
                    std::to_string(i) + "', 40000, 'Rozsudek " + std::to_string(i) + "')");
        r.SetLines("", "ORDER BY ID");
    }
    TestDatabase db;
    Register r{db};
};

} // namespace

TEST_F(DataLinkTest, AnEditShowsTheCurrentRecordAndWritesOnPost)
{
    FakeEdit edit(r.source, "oznaceni_vstupu");
    EXPECT_FALSE(edit.link.Active());
    EXPECT_EQ(edit.link.Field(), nullptr);
    r.query->Open();
    EXPECT_TRUE(edit.link.Active());
    EXPECT_EQ(edit.link.Field(), r.oznaceni_vstupu);
    EXPECT_EQ(edit.text, "Rozsudek 1");
    r.query->Next();
    EXPECT_EQ(edit.text, "Rozsudek 2");

    ASSERT_TRUE(edit.Type("Usnesení 2"));
    EXPECT_EQ(r.query->State(), dsEdit);
    EXPECT_TRUE(edit.link.Editing());
    EXPECT_EQ(r.oznaceni_vstupu->AsString(), "Rozsudek 2"); // not written until the update
    r.query->Post();
    EXPECT_EQ(r.oznaceni_vstupu->AsString(), "Usnesení 2");
    EXPECT_EQ(edit.log, (std::vector<std::string>{"active", "editing", "browsing"}));

    // A program's change of another field does not disturb the typed text.
    edit.Type("typed");
    const int before = edit.dataChanges;
    r.poradove_cislo->SetAsString("two");
    EXPECT_EQ(edit.dataChanges, before);
    EXPECT_TRUE(edit.link.IsModified());
    r.query->Cancel();
    EXPECT_EQ(edit.text, "Usnesení 2");
    EXPECT_FALSE(edit.link.IsModified());

    r.query->Close();
    EXPECT_FALSE(edit.link.Active());
    EXPECT_EQ(edit.link.Field(), nullptr);
}

TEST_F(DataLinkTest, PendingTextIsWrittenBeforeBeforePostLooksAtIt)
{
    FakeEdit edit(r.source, "oznaceni_vstupu");
    r.query->Open();
    std::string seenByBeforePost;
    r.query->BeforePost = [&](TDataSet*) { seenByBeforePost = r.oznaceni_vstupu->AsString(); };
    r.query->Insert();
    EXPECT_EQ(edit.text, "");
    edit.Type("Smlouva kupní");
    r.query->Post();
    EXPECT_EQ(seenByBeforePost, "Smlouva kupní");
}

TEST_F(DataLinkTest, ReadOnlyLinksAndFieldsDoNotEdit)
{
    FakeEdit edit(r.source, "oznaceni_vstupu");
    FakeEdit count(r.source, "pocet_rok");
    r.query->Open();
    edit.link.SetReadOnly(true);
    EXPECT_FALSE(edit.link.CanModify());
    EXPECT_FALSE(edit.Type("x"));
    EXPECT_EQ(r.query->State(), dsBrowse);
    EXPECT_FALSE(count.link.CanModify()); // computed by the query
    EXPECT_FALSE(count.Type("3"));

    edit.link.SetReadOnly(false);
    r.source->SetAutoEdit(false);
    EXPECT_FALSE(edit.Type("x"));
    r.source->SetAutoEdit(true);
    EXPECT_TRUE(edit.Type("x"));
    EXPECT_TRUE(edit.link.Editing());
    EXPECT_FALSE(count.link.Editing());
}

TEST_F(DataLinkTest, UnknownFieldNameIsAnErrorNamingTheControl)
{
    FakeEdit edit(r.source, "oznaceni");
    edit.control.SetName("Oznaceni_vstupu_DBEdit");
    try {
        r.query->Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Oznaceni_vstupu_DBEdit: Field 'oznaceni' not found");
    }
}

TEST_F(DataLinkTest, DataSourceTellsStateAndData)
{
    std::vector<TDataSetState> states;
    int dataChanges = 0;
    r.source->OnStateChange = [&](core::TObject*) { states.push_back(r.source->State()); };
    r.source->OnDataChange = [&](core::TObject*, TField*) { ++dataChanges; };
    r.query->Open();
    r.query->Edit();
    r.query->Cancel();
    r.query->Close();
    EXPECT_EQ(states, (std::vector<TDataSetState>{dsBrowse, dsEdit, dsBrowse, dsInactive}));
    EXPECT_GT(dataChanges, 0);

    FakeEdit edit(r.source, "poradove_cislo");
    r.query->Open();
    r.source->SetEnabled(false);
    EXPECT_FALSE(edit.link.Active());
    r.source->SetEnabled(true);
    EXPECT_TRUE(edit.link.Active());

    // While controls are disabled they hear nothing; enabling tells them once.
    r.query->DisableControls();
    const int before = edit.dataChanges;
    for (int i = 0; i < 5; ++i)
        r.query->Next();
    EXPECT_EQ(edit.dataChanges, before);
    EXPECT_EQ(edit.text, "1");
    r.query->EnableControls();
    EXPECT_EQ(edit.text, "6");

    delete r.query;
    EXPECT_EQ(r.source->DataSet(), nullptr);
    EXPECT_FALSE(edit.link.Active());
}

TEST_F(DataLinkTest, AGridSeesAWindowOfRowsAroundTheCurrentOne)
{
    TDataLink grid;
    grid.SetBufferCount(5);
    grid.SetDataSource(r.source);
    r.query->Open();
    EXPECT_EQ(grid.RecordCount(), 5);
    EXPECT_EQ(grid.FirstRecord(), 0);
    EXPECT_EQ(grid.ActiveRecord(), 0);
    EXPECT_EQ(Window(grid, r.poradove_cislo), (std::vector<std::string>{"1", "2", "3", "4", "5"}));

    r.query->SetRecNo(12);
    EXPECT_EQ(grid.FirstRecord(), 7);
    EXPECT_EQ(grid.ActiveRecord(), 4);
    EXPECT_EQ(Window(grid, r.poradove_cislo), (std::vector<std::string>{"8", "9", "10", "11", "12"}));
    EXPECT_EQ(r.poradove_cislo->AsString(), "12"); // the grid gave the current row back

    r.query->MoveBy(-2);
    EXPECT_EQ(grid.FirstRecord(), 7);
    EXPECT_EQ(grid.ActiveRecord(), 2);
    r.query->First();
    EXPECT_EQ(grid.FirstRecord(), 0);
    r.query->Last();
    EXPECT_EQ(grid.FirstRecord(), 15);
    EXPECT_EQ(grid.MoveBy(-1), -1);
    EXPECT_EQ(grid.ActiveRecord(), 3);

    // The row being edited shows its unposted value in the window.
    r.query->Edit();
    r.poradove_cislo->SetAsString("nineteen");
    EXPECT_EQ(Window(grid, r.poradove_cislo), (std::vector<std::string>{"16", "17", "18", "nineteen", "20"}));
    r.query->Cancel();

    // Deleting shrinks the data set; the window stays full.
    r.query->SetRecNo(20);
    r.query->Delete();
    EXPECT_EQ(grid.RecordCount(), 5);
    EXPECT_EQ(grid.FirstRecord(), 14);
    EXPECT_EQ(Window(grid, r.poradove_cislo).back(), "19");

    grid.SetBufferCount(50);
    EXPECT_EQ(grid.RecordCount(), 19);
    EXPECT_EQ(grid.FirstRecord(), 0);
}
