// The lookup-table editor's logic: validation, insert or update, and the table file.
#include <gtest/gtest.h>

#include "project/table_editor.h"
#include "project_fixture.h"

class TableEditorTest : public ProjectFixture {
  protected:
    TableEditor editor{project->Tables, project->ProjectModified, dialogs};

    void type(const std::string& name, const std::string& n,
              std::initializer_list<std::pair<const char*, const char*>> points) {
        editor.fields.name = name;
        editor.fields.pointCount = n;
        size_t i = 0;
        for (auto [in, out] : points) {
            editor.fields.inputs[i] = in;
            editor.fields.outputs[i++] = out;
        }
    }
};

TEST_F(TableEditorTest, ValidationMessages) {
    type("", "2", {});
    EXPECT_FALSE(editor.insertOrUpdate());
    type("T1", "27", {});
    EXPECT_FALSE(editor.pointCountChanged());
    EXPECT_FALSE(editor.insertOrUpdate());
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Check Table Name", "N = 2 to 26", "Check N points"}));
    type("T1", "2", {{"0", "0"}, {"ten", "100"}});
    EXPECT_FALSE(editor.insertOrUpdate());
    EXPECT_EQ(std::tuple(project->Tables.Count, project->ProjectModified), std::tuple(0, 0));
    type("T1", "2.9", {});
    EXPECT_EQ(editor.pointCountChanged(), 2);
}

TEST_F(TableEditorTest, SameNameReplacesAnotherAddsNineAtMostAndConfirmHandsBackThePosition) {
    type("T1", "2", {{"0", "0"}, {"10", "100"}});
    ASSERT_TRUE(editor.insertOrUpdate());
    EXPECT_EQ(project->Tables.Tables[0].Outputs[1], 100);
    EXPECT_EQ(project->ProjectModified, -1);
    editor.selectTable(0);
    EXPECT_EQ(editor.fields.inputs[1], "10");
    editor.fields.outputs[1] = "-0.5";
    ASSERT_TRUE(editor.insertOrUpdate());
    EXPECT_EQ(project->Tables.Count, 1);
    EXPECT_EQ(project->Tables.Tables[0].Outputs[1], -0.5);

    for (int t = 2; t <= 9; ++t) { // a typed new name adds a table, it does not rename the shown one
        type("T" + std::to_string(t), "2", {});
        ASSERT_TRUE(editor.insertOrUpdate());
    }
    EXPECT_EQ(project->Tables.Tables[0].Name, "T1");
    type("T10", "2", {});
    int allocated = 0;
    EXPECT_FALSE(editor.confirm([&](LookupTableArray&) { ++allocated; }).has_value());
    EXPECT_EQ(dialogs.shown.back(), "Nine tables at most: the table was not added");
    EXPECT_EQ(project->Tables.Count, 9);
    EXPECT_EQ(allocated, 0);

    editor.selectTable(2);
    EXPECT_EQ(editor.confirm([&](LookupTableArray&) { ++allocated; }), 2);
    EXPECT_EQ(allocated, 1);
}

TEST_F(TableEditorTest, TableFileSavesAndLoadsAndRefusesBadCounts) {
    type("T1", "2", {{"0", "0"}, {"10", "100"}});
    dialogs.files.push_back(path("t1.csv"));
    ASSERT_TRUE(editor.saveToFile());
    EXPECT_EQ(slurp(path("t1.csv")), crlf({"T1", " 2 ", " 0", " 10", " 0", " 100"}));

    TableEditor other(project->Tables, project->ProjectModified, dialogs);
    dialogs.files.push_back(path("t1.csv"));
    ASSERT_TRUE(other.loadFromFile());
    EXPECT_EQ(std::tuple(other.fields.name, other.fields.pointCount, other.fields.outputs[1]),
              std::tuple("T1", "2", "100"));
    EXPECT_EQ(project->Tables.Count, 0); // loading a file changes no table

    // A point count outside 2 to 26, or none at all, changes nothing.
    const LookupTable before = other.work;
    for (const std::string& bad :
         {crlf({"T9", " 1 ", " 1", " 2"}), crlf({"T9", " 27 "}), crlf({"T9", "x"}), std::string()}) {
        spit(path("bad.csv"), bad);
        dialogs.files.push_back(path("bad.csv"));
        EXPECT_FALSE(other.loadFromFile()) << bad;
        EXPECT_EQ(dialogs.shown.back(), "N = 2 to 26");
        EXPECT_EQ(other.fields.name, "T1");
        EXPECT_EQ(other.work, before);
    }

    dialogs.files.push_back(path("missing/dir/t.csv"));
    EXPECT_FALSE(editor.saveToFile());
    EXPECT_EQ(dialogs.shown.back(), "Cannot write " + path("missing/dir/t.csv"));
}
