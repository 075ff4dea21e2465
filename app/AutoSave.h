// Keeps "AutoSave.txt" close to the input box while the calculator runs, so
// that a crash or a power loss loses at most a few seconds of typing: a change
// is written at most Delay() milliseconds after it is made, and the main window
// also saves before every evaluation and when it closes. Every write replaces
// the file only once the new one is complete (see WriteTextFile), so a full
// disk or a read-only folder leaves the previous file as it was. A failed
// write is reported once, not every few seconds. The saver does not know the
// input box: it asks for the text when it writes.
#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class TAutoSaver : public QObject {
    Q_OBJECT
  public:
    TAutoSaver(QString FileName, std::function<QString()> Text, QObject* Parent = nullptr);

    const QString& FileName() const { return FFileName; }
    int Delay() const { return FTimer.interval(); }
    void SetDelay(int Milliseconds) { FTimer.setInterval(Milliseconds); }
    // The file exists but could not be read: an empty text is not written over
    // it, and before a text is, the file is moved aside to a free name
    // AsideName() gives, so that what it held is not lost.
    void KeepUnread() { FKeepUnread = true; }
    // "AutoSave.txt.unread", or "AutoSave.txt.unread2" and on when that is taken.
    QString AsideName() const;

    // The text changed: it is written within Delay() unless written before.
    void Changed();
    bool Pending() const { return FTimer.isActive(); }
    // Writes at once. A failure is shown in a warning box, unless the same
    // failure was the last one shown.
    void Save();
    // Writes at once and returns the message of a failure instead of showing it.
    std::optional<QString> Write();

  private:
    QString FFileName;
    std::function<QString()> FText;
    QTimer FTimer;
    bool FKeepUnread = false;
    std::optional<QString> FWritten;         // the text last written
    std::optional<QByteArray> FWrittenBytes; // the file as that write left it
    QString FShownError;
};
