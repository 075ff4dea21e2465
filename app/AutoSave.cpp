#include "AutoSave.h"

#include "Utils.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr int DefaultDelay = 2000; // milliseconds

// Nothing when the file cannot be read.
std::optional<QByteArray> FileBytes(const QString& FileName) {
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly)) return std::nullopt;
    return File.readAll();
}
} // namespace

TAutoSaver::TAutoSaver(QString FileName, std::function<QString()> Text, QObject* Parent)
    : QObject(Parent), FFileName(std::move(FileName)), FText(std::move(Text)) {
    FTimer.setSingleShot(true);
    FTimer.setInterval(DefaultDelay);
    connect(&FTimer, &QTimer::timeout, this, &TAutoSaver::Save);
}

// The timer is not restarted by later changes, so steady typing is saved too.
void TAutoSaver::Changed() {
    if (!FTimer.isActive()) FTimer.start();
}

void TAutoSaver::Save() {
    const std::optional<QString> Error = Write();
    if (!Error) {
        FShownError.clear();
        return;
    }
    if (*Error == FShownError) return;
    // Set before the box opens: the box runs the event loop, and the timer may fire in it.
    FShownError = *Error;
    WarningBox(QStringLiteral("%s"), {*Error});
}

std::optional<QString> TAutoSaver::Write() {
    FTimer.stop();
    const QString Text = FText();
    if (FKeepUnread && Text.isEmpty()) return std::nullopt;
    // Another window may have written the file since: only the same text in
    // a file still holding what we wrote is left alone.
    if (FWritten == Text && FileBytes(FFileName) == FWrittenBytes) return std::nullopt;
    if (FKeepUnread) {
        // A folder or a file that could not be read stays where it was if it
        // cannot be moved; writing then fails or replaces it, as it would anyway.
        QFile::rename(FFileName, AsideName());
    }
    try {
        WriteTextFile(FFileName, Text);
    } catch (const std::exception& E) {
        FWritten.reset();
        return QString::fromUtf8(E.what());
    }
    FWritten = Text;
    FWrittenBytes = FileBytes(FFileName);
    FKeepUnread = false;
    return std::nullopt;
}

QString TAutoSaver::AsideName() const {
    const QString Base = FFileName + QStringLiteral(".unread");
    QString Name = Base;
    for (int N = 2; QFileInfo::exists(Name) || QFileInfo(Name).isSymLink(); ++N)
        Name = Base + QString::number(N);
    return Name;
}
