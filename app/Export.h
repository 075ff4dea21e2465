// A run written out as a table: one row per output line of a statement, with
// the statement as written, its result and its comment, under a line naming
// the date, the result format and the precision. Renders text only; the window
// collects the rows and writes the file.
//
// Markdown: a "# ..." heading, then a pipe table; "|" and "\" are escaped and
// line breaks inside a cell become <br>. HTML: one page with a small inline
// style, no outside parts, a table that prints with its lines. CSV (RFC 4180):
// a first record "# date,format,precision" with the three values after it, the
// record "Statement,Result,Comment", then the rows; fields holding a comma,
// a quote, CR or LF are quoted with their quotes doubled; every record ends in CR LF.
#pragma once
#include <QString>

#include <optional>
#include <vector>

enum TExportFormat { efMarkdown, efHtml, efCsv };

struct TExportHeader {
    QString Date;   // as it is to be shown
    QString Format; // Dec, Bin, Hex, Roman or Time
    int Precision = 0;
};

struct TExportRow {
    QString Statement;
    QString Result; // a value, or the whole line of an error or a definition
    QString Comment;
};

// By the file name's extension (.md, .html or .htm, .csv; any case); none for others.
std::optional<TExportFormat> ExportFormatOf(const QString& FileName);

QString RenderExport(TExportFormat Format, const TExportHeader& Header, const std::vector<TExportRow>& Rows);
