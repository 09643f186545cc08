#pragma once
// Workbooks read back by an independent reader of Excel 97-2003 files (xlrd,
// through read_xls.py beside this file) as JSON, and the parts tests look at.
// The including test target defines KONVERZE_SYSTEM_PYTHON and KONVERZE_READ_XLS.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace testsupport {

// What the reader makes of a file: sheets, cells, formats, sizes. With a
// column (0-based), each sheet also gets "column": the texts of that column
// in every row, complete however large the sheet.
inline QJsonObject ReadBack(const std::string& file, int column = -1)
{
    const std::string columnOption = column >= 0 ? " --column " + std::to_string(column) : std::string();
    const std::string command =
        std::string(KONVERZE_SYSTEM_PYTHON) + " '" + KONVERZE_READ_XLS + "' '" + file + "'" + columnOption + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string output;
    char buffer[65536];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << output.substr(0, 4000);
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(output));
    EXPECT_TRUE(document.isObject()) << output.substr(0, 4000);
    return document.object();
}

inline std::string Str(const QJsonValue& value) { return value.toString().toStdString(); }

inline QJsonObject Sheet(const QJsonObject& book, int index)
{
    const QJsonArray sheets = book["sheets"].toArray();
    if (index >= sheets.size()) {
        ADD_FAILURE() << "no sheet " << index;
        return {};
    }
    return sheets[index].toObject();
}

// The text of a cell, "" when the reader has none there.
inline std::string CellText(const QJsonObject& sheet, int row, int column)
{
    for (const QJsonValue& value : sheet["cells"].toArray()) {
        const QJsonObject cell = value.toObject();
        if (cell["row"].toInt() == row && cell["col"].toInt() == column) {
            EXPECT_EQ(cell["type"].toInt(), 1) << "a text cell at " << row << "," << column;
            return Str(cell["value"]);
        }
    }
    return {};
}

// The format of a cell: font, alignment, borders, number format.
inline QJsonObject CellFormat(const QJsonObject& book, const QJsonObject& sheet, int row, int column)
{
    for (const QJsonValue& value : sheet["cells"].toArray()) {
        const QJsonObject cell = value.toObject();
        if (cell["row"].toInt() == row && cell["col"].toInt() == column)
            return book["xfs"].toObject()[QString::number(cell["xf"].toInt())].toObject();
    }
    ADD_FAILURE() << "no cell at " << row << "," << column;
    return {};
}

} // namespace testsupport
