#include "Export.h"

#include <QFileInfo>

namespace {
QString Title(const TExportHeader& H) {
    return QStringLiteral("Sumtra run of %1, format %2, precision %3").arg(H.Date, H.Format).arg(H.Precision);
}

// Line breaks inside a statement (a definition whose body is on the next line).
QString WithBreaks(QString Text, const QString& Break) {
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text.replace(u'\r', u'\n');
    return Text.replace(u'\n', Break);
}

QString MarkdownCell(QString Text) {
    Text.replace(u'\\', QStringLiteral("\\\\"));
    Text.replace(u'|', QStringLiteral("\\|"));
    return WithBreaks(Text, QStringLiteral("<br>"));
}

QString HtmlCell(const QString& Text) {
    return WithBreaks(Text.toHtmlEscaped(), QStringLiteral("<br>"));
}

QString CsvField(const QString& Text) {
    if (!Text.contains(u',') && !Text.contains(u'"') && !Text.contains(u'\r') && !Text.contains(u'\n'))
        return Text;
    QString Quoted = Text;
    Quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + Quoted + u'"';
}

QString CsvRecord(std::initializer_list<QString> Fields) {
    QString Record;
    for (const QString& F : Fields) {
        if (!Record.isEmpty() || &F != Fields.begin()) Record += u',';
        Record += CsvField(F);
    }
    return Record + QStringLiteral("\r\n");
}

QString RenderMarkdown(const TExportHeader& H, const std::vector<TExportRow>& Rows) {
    QString S = QStringLiteral("# ") + MarkdownCell(Title(H)) +
                QStringLiteral("\n\n| Statement | Result | Comment |\n| --- | --- | --- |\n");
    for (const TExportRow& R : Rows)
        S += QStringLiteral("| %1 | %2 | %3 |\n")
                 .arg(MarkdownCell(R.Statement), MarkdownCell(R.Result), MarkdownCell(R.Comment));
    return S;
}

// Black on white with ruled cells, so the page reads the same on paper.
const char* const HtmlStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#000;background:#fff}"
    "h1{font-size:1.2em}"
    "table{border-collapse:collapse}"
    "th,td{border:1px solid #444;padding:.2em .6em;text-align:left;vertical-align:top}"
    "td:nth-child(-n+2){font-family:monospace;white-space:pre-wrap}"
    "thead{display:table-header-group}"
    "tr{page-break-inside:avoid}";

QString RenderHtml(const TExportHeader& H, const std::vector<TExportRow>& Rows) {
    const QString T = HtmlCell(Title(H));
    QString S =
        QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                       "<style>%2</style>\n</head>\n<body>\n<h1>%1</h1>\n<table>\n"
                       "<thead><tr><th>Statement</th><th>Result</th><th>Comment</th></tr></thead>\n"
                       "<tbody>\n")
            .arg(T, QString::fromLatin1(HtmlStyle));
    for (const TExportRow& R : Rows)
        S += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                 .arg(HtmlCell(R.Statement), HtmlCell(R.Result), HtmlCell(R.Comment));
    return S + QStringLiteral("</tbody>\n</table>\n</body>\n</html>\n");
}

QString RenderCsv(const TExportHeader& H, const std::vector<TExportRow>& Rows) {
    QString S = CsvRecord({QStringLiteral("# date"), QStringLiteral("format"), QStringLiteral("precision")});
    S += CsvRecord({H.Date, H.Format, QString::number(H.Precision)});
    S += CsvRecord({QStringLiteral("Statement"), QStringLiteral("Result"), QStringLiteral("Comment")});
    for (const TExportRow& R : Rows)
        S += CsvRecord({R.Statement, R.Result, R.Comment});
    return S;
}
} // namespace

std::optional<TExportFormat> ExportFormatOf(const QString& FileName) {
    const QString Suffix = QFileInfo(FileName).suffix().toLower();
    if (Suffix == u"md") return efMarkdown;
    if (Suffix == u"html" || Suffix == u"htm") return efHtml;
    if (Suffix == u"csv") return efCsv;
    return std::nullopt;
}

QString RenderExport(TExportFormat Format, const TExportHeader& Header, const std::vector<TExportRow>& Rows) {
    switch (Format) {
    case efMarkdown: return RenderMarkdown(Header, Rows);
    case efHtml: return RenderHtml(Header, Rows);
    case efCsv: return RenderCsv(Header, Rows);
    }
    return {};
}
