#include "Utils.h"

#include "Memo.h"
#include "Parse.Utils.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QtEndian>
#include <QUrl>

#include <algorithm>
#include <filesystem>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
QString GHelpFile = QStringLiteral("Help/Sumtra.htm");

QString FileMessage(const QString& What, const QString& FileName, const QString& Reason) {
    return QStringLiteral("%1 '%2': %3").arg(What, FileName, Reason);
}

// "16 MiB", "512 KiB" or "100 bytes".
QString SizeText(qint64 Size) {
    if (Size >= (1 << 20) && Size % (1 << 20) == 0) return QStringLiteral("%1 MiB").arg(Size >> 20);
    if (Size >= (1 << 10) && Size % (1 << 10) == 0) return QStringLiteral("%1 KiB").arg(Size >> 10);
    return QStringLiteral("%1 bytes").arg(Size);
}

[[noreturn]] void Fail(const QString& Message) {
    throw EFileError(Message.toStdString());
}
} // namespace

QString ExeDir() {
    return QCoreApplication::applicationDirPath() + u'/';
}

QString RemoveFileExt(const QString& FileName) {
    for (qsizetype I = FileName.size() - 1; I >= 0; --I) {
        const QChar C = FileName[I];
        if (C == u'/' || C == u'\\') break;
        if (C == u'.') return FileName.left(I);
    }
    return FileName;
}

bool IsValidFileName(const QString& Text) {
    static const QString Forbidden = QStringLiteral("\"*/:<>?\\|");
    if (Text.isEmpty()) return false;
    for (QChar C : Text)
        if (Forbidden.contains(C)) return false;
    return true;
}

bool OpenDocument(const QString& Target) {
    const QUrl Url = Target.contains(QStringLiteral("://")) || Target.startsWith(QStringLiteral("mailto:"))
                         ? QUrl(Target)
                         : QUrl::fromLocalFile(Target);
    return QDesktopServices::openUrl(Url);
}

int WarningBox(const QString& Format, const QStringList& Args) {
    QString Message;
    qsizetype Next = 0;
    for (qsizetype I = 0; I < Format.size(); ++I) {
        const bool Placeholder = Format[I] == u'%' && I + 1 < Format.size() &&
                                 (Format[I + 1] == u's' || Format[I + 1] == u'd') && Next < Args.size();
        if (Placeholder) {
            Message += Args[Next++];
            ++I;
        } else {
            Message += Format[I];
        }
    }
    QMessageBox Box(QMessageBox::Warning, QCoreApplication::applicationName(), Message, QMessageBox::Ok,
                    QApplication::activeWindow());
    return Box.exec();
}

void SetMemoMargins(TMemo& Box, int Left, int Right) {
    Box.SetMargins(Left, Right < 0 ? Left : Right);
}

QString HelpFile() {
    return GHelpFile;
}

void SetHelpFile(const QString& RelativePath) {
    GHelpFile = RelativePath;
}

void RefusePipe(const QString& FileName) {
    std::error_code Ec;
    const auto Type = std::filesystem::status(FileName.toStdU16String(), Ec).type();
    if (Type == std::filesystem::file_type::fifo || Type == std::filesystem::file_type::socket)
        Fail(FileMessage(QStringLiteral("Cannot read"), FileName, QStringLiteral("it is a pipe or socket")));
}

QByteArray ReadFileBytes(const QString& FileName, qint64 MaxSize) {
    if (QFileInfo(FileName).isDir())
        Fail(FileMessage(QStringLiteral("Cannot read"), FileName, QStringLiteral("it is a directory")));
    RefusePipe(FileName);
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly))
        Fail(FileMessage(QStringLiteral("Cannot open"), FileName, File.errorString()));
    const QString TooLarge = QStringLiteral("it is larger than %1").arg(SizeText(MaxSize));
    if (!File.isSequential() && File.size() > MaxSize)
        Fail(FileMessage(QStringLiteral("Cannot read"), FileName, TooLarge));
    QByteArray Bytes;
    char Buffer[1 << 16];
    while (Bytes.size() <= MaxSize) {
        const qint64 N = File.read(Buffer, sizeof Buffer);
        if (N < 0) Fail(FileMessage(QStringLiteral("Cannot read"), FileName, File.errorString()));
        if (N == 0) break;
        Bytes.append(Buffer, N);
    }
    if (Bytes.size() > MaxSize) Fail(FileMessage(QStringLiteral("Cannot read"), FileName, TooLarge));
    return Bytes;
}

QString ReadTextFile(const QString& FileName) {
    const QByteArray Bytes = ReadFileBytes(FileName, MaxShellTextFileSize);
    QString Text = QString::fromStdU16String(DecodeText(std::string_view(Bytes.constData(), Bytes.size())));
    Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text.replace(u'\r', u'\n');
    if (Text.endsWith(u'\n')) Text.chop(1);
    return Text;
}

void WriteTextFile(const QString& FileName, const QString& Text) {
    // UTF-16LE with its byte order mark, every line ended by CR LF.
    const qsizetype Breaks = Text.count(u'\n');
    const qsizetype Lines = Text.isEmpty() ? 0 : Breaks + 1;
    QByteArray Bytes(2 + (Text.size() - Breaks + 2 * Lines) * 2, Qt::Uninitialized);
    Bytes[0] = '\xFF';
    Bytes[1] = '\xFE';
    char* Out = Bytes.data() + 2;
    const auto Put = [&Out](const char16_t* From, qsizetype Count) {
        qToLittleEndian<char16_t>(From, Count, Out);
        Out += Count * 2;
    };
    const char16_t* Rest = reinterpret_cast<const char16_t*>(Text.utf16());
    const char16_t* const End = Rest + Text.size();
    for (qsizetype Line = 0; Line < Lines; ++Line) {
        const char16_t* Break = std::find(Rest, End, u'\n');
        Put(Rest, Break - Rest);
        Put(u"\r\n", 2);
        Rest = Break + (Break != End);
    }
    WriteFileAtomically(FileName, Bytes);
}

void WriteFileAtomically(const QString& FileName, const QByteArray& Bytes) {
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly))
        Fail(FileMessage(QStringLiteral("Cannot create"), FileName, File.errorString()));
    // On a full disk Qt may count a write that stopped part way as complete, so
    // the size of the new file is checked before it replaces the old one.
    const bool Written = File.write(Bytes) == Bytes.size() && File.flush();
    if (!Written || File.size() != Bytes.size()) {
        const QString Reason = File.error() != QFileDevice::NoError
                                   ? File.errorString()
                                   : QStringLiteral("only part of it could be written (is the disk full?)");
        File.cancelWriting();
        Fail(FileMessage(QStringLiteral("Cannot write"), FileName, Reason));
    }
    if (!File.commit()) Fail(FileMessage(QStringLiteral("Cannot write"), FileName, File.errorString()));
#if defined(Q_OS_UNIX)
    // The new file is on disk, but the rename that put it in place is only once
    // the folder is: without this a power loss can bring back the old file.
    const int Dir = ::open(QFile::encodeName(QFileInfo(FileName).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Dir >= 0) {
        ::fsync(Dir);
        ::close(Dir);
    }
#endif
}
