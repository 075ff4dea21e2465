// The character map behind "Toggle symbol": each line is a cycle of look-alike
// characters (Latin, Greek, Cyrillic, operator signs) that replace one another
// in order. A character is one UTF-16 code unit.
#pragma once
#include <QString>
#include <QStringList>

class TSymbolMap {
  public:
    explicit TSymbolMap(QStringList Lines) : FLines(std::move(Lines)) {}
    // Reads the map file (see ReadTextFile); throws EFileError.
    static TSymbolMap Load(const QString& FileName);

    // The next character of the first line holding Ch (the last wraps to the
    // first), or Ch itself when no line holds it.
    QChar ToggleChar(QChar Ch) const;
    QString Toggle(const QString& Text) const;
    const QStringList& Lines() const { return FLines; }

  private:
    QStringList FLines;
};
