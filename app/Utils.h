// Small helpers of the desktop shell: where the executable lives, file-name
// checks, opening documents through the desktop, the one warning box, the inner
// margins of a text box, and reading and writing the calculator's text files.
#pragma once
#include <QString>
#include <QStringList>

#include <stdexcept>

class TMemo;

// A text file that could not be read or written; the message names the file.
class EFileError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

QString ExeDir(); // with a trailing '/'
// The name without its extension: "a.b.txt" gives "a.b", ".ini" gives "", and a
// name whose last dot lies before its last path delimiter stays whole.
QString RemoveFileExt(const QString& FileName);
// False for an empty text or one holding any of " * / : < > ? \ |.
bool IsValidFileName(const QString& Text);
// Hands Target (a file path, or an address with a scheme) to the desktop. False
// when the desktop cannot open it, as when no program is registered for the
// file's type; what the program it starts makes of the file is not known.
bool OpenDocument(const QString& Target);
// Replaces each "%s" or "%d" of Format by the next argument and shows the
// message with a warning icon and one OK button. Returns the button pressed.
int WarningBox(const QString& Format, const QStringList& Args = {});
// A right margin of -1 means the same as the left one.
void SetMemoMargins(TMemo& Box, int Left, int Right = -1);

// The relative path of the help document below ExeDir(); set by the main routine.
QString HelpFile();
void SetHelpFile(const QString& RelativePath);

// Opening a named pipe waits for a writer, which would stall the start for
// good: a pipe or socket where a state file should be fails with EFileError.
void RefusePipe(const QString& FileName);

// The bytes of a file of at most MaxSize bytes. It is read in pieces, so a
// device without end is refused too. Throws EFileError for a missing file, a
// folder, a pipe or socket, an unreadable or a larger file.
QByteArray ReadFileBytes(const QString& FileName, qint64 MaxSize);

// The largest text file the shell reads: the input box, the symbol map and
// files opened from the File menu. Twice the longest program the runner takes
// (UTF-16LE), so every program the calculator saved comes back.
inline constexpr qint64 MaxShellTextFileSize = qint64(16) << 20;

// The text of a calculator file: UTF-16LE when it starts with FF FE or holds NUL
// bytes, UTF-8 otherwise. Line breaks become "\n" and one final line break is
// dropped, so the text is the file's lines joined. Throws EFileError, also for
// a file larger than MaxShellTextFileSize.
QString ReadTextFile(const QString& FileName);
// Writes every line of Text followed by CR LF, as UTF-16LE with a byte-order
// mark. The file is replaced only once the new one is complete, so a failed
// write leaves the old file as it was. Throws EFileError.
void WriteTextFile(const QString& FileName, const QString& Text);
// Replaces the file by Bytes through a temporary file in the same folder, which
// is renamed over it only once it is complete and on the disk. Throws
// EFileError, leaving the old file as it was.
void WriteFileAtomically(const QString& FileName, const QByteArray& Bytes);
