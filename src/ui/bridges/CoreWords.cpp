#include "ui/bridges/CoreWords.h"

#include <QCoreApplication>
#include <QStringList>
#include <array>
#include <span>

#include "ui/bridges/QtText.h"

namespace velmora::ui {
namespace {

constexpr std::array kActionWords = {
    QT_TRANSLATE_NOOP("Actions", "Edit Tags"),
    QT_TRANSLATE_NOOP("Actions", "Copy from ID3v1"),
    QT_TRANSLATE_NOOP("Actions", "Capitalize"),
    QT_TRANSLATE_NOOP("Actions", "Convert _ to Space"),
    QT_TRANSLATE_NOOP("Actions", "Remove ID3v1"),
    QT_TRANSLATE_NOOP("Actions", "Remove ID3v2"),
    QT_TRANSLATE_NOOP("Actions", "Edit Comment"),
    QT_TRANSLATE_NOOP("Actions", "Edit Picture"),
    QT_TRANSLATE_NOOP("Actions", "Delete Comment"),
    QT_TRANSLATE_NOOP("Actions", "Delete All Comments"),
    QT_TRANSLATE_NOOP("Actions", "Delete Picture"),
    QT_TRANSLATE_NOOP("Actions", "Delete All Pictures"),
    QT_TRANSLATE_NOOP("Actions", "Add Cover"),
    QT_TRANSLATE_NOOP("Actions", "Rename"),
    QT_TRANSLATE_NOOP("Actions", "Generate ID3"),
    QT_TRANSLATE_NOOP("Actions", "Track #"),
};

// In the order of Column.
constexpr std::array<const char*, kAllColumns.size()> kColumnWords = {
    QT_TRANSLATE_NOOP("Columns", "Filename"),     QT_TRANSLATE_NOOP("Columns", "Track"),
    QT_TRANSLATE_NOOP("Columns", "Artist"),       QT_TRANSLATE_NOOP("Columns", "Album"),
    QT_TRANSLATE_NOOP("Columns", "Title"),        QT_TRANSLATE_NOOP("Columns", "Year"),
    QT_TRANSLATE_NOOP("Columns", "Bitrate"),      QT_TRANSLATE_NOOP("Columns", "Directory"),
    QT_TRANSLATE_NOOP("Columns", "Genre"),        QT_TRANSLATE_NOOP("Columns", "Duration"),
    QT_TRANSLATE_NOOP("Columns", "Album Artist"), QT_TRANSLATE_NOOP("Columns", "Disc"),
    QT_TRANSLATE_NOOP("Columns", "Composer"),
};

// Each kind's lines; %1 and %2 are the message's paths, %3 its detail.
struct KindWords {
    MessageKind kind;
    std::array<const char*, 2> lines;
};
constexpr std::array kMessageWords = {
    KindWords{MessageKind::LoadOpenFailed,
              {QT_TRANSLATE_NOOP("Messages", "Couldn't open file:"), "%1"}},
    KindWords{MessageKind::LoadParseFailed,
              {QT_TRANSLATE_NOOP("Messages", "Error while parsing file:"), "%1"}},
    KindWords{MessageKind::SaveOpenFailed, {QT_TRANSLATE_NOOP("Messages", "Couldn't open"), "%1"}},
    KindWords{MessageKind::SaveFailed,
              {QT_TRANSLATE_NOOP("Messages", "Couldn't save ID3v2 tag to"), "%1"}},
    KindWords{MessageKind::FolderNotWritable,
              {QT_TRANSLATE_NOOP("Messages", "Couldn't save ID3v2 tag to"),
               QT_TRANSLATE_NOOP("Messages",
                                 "%1: the folder %2 is not writable, so the audio "
                                 "cannot be moved safely")}},
    KindWords{MessageKind::NotAnMp3,
              {QT_TRANSLATE_NOOP("Messages", "%1 is not an MP3 file; nothing changed"), nullptr}},
    KindWords{MessageKind::ChangedOnDisk,
              {QT_TRANSLATE_NOOP("Messages",
                                 "%1 changed on disk since it was loaded; reload it before saving"),
               nullptr}},
    KindWords{MessageKind::RenameFailed,
              {QT_TRANSLATE_NOOP("Messages", "Couldn't rename \"%1\" to \"%2\""), nullptr}},
    KindWords{MessageKind::ExportOpenFailed,
              {QT_TRANSLATE_NOOP("Messages", "Couldn't open file"), "%1"}},
    KindWords{MessageKind::ExportWriteFailed,
              {QT_TRANSLATE_NOOP("Messages", "Couldn't write to file"), "%1"}},
    KindWords{MessageKind::ExpressionNotParsed,
              {QT_TRANSLATE_NOOP("Messages",
                                 "The regular expression you entered could not be "
                                 "parsed."),
               nullptr}},
    KindWords{MessageKind::NameDidNotMatch,
              {QT_TRANSLATE_NOOP("Messages", "The regular expression didn't match the filename"),
               nullptr}},
    KindWords{MessageKind::UnrecognizedField,
              {QT_TRANSLATE_NOOP("Messages", "Unrecognized field: %3"), nullptr}},
    KindWords{MessageKind::HistoryNotWritten,
              {QT_TRANSLATE_NOOP("Messages", "Couldn't save"),
               QT_TRANSLATE_NOOP("Messages",
                                 "%1: its old tags could not be kept in the history of saves")}},
};

QString Translated(const char* context, std::span<const char* const> words,
                   std::u16string_view word) {
    const QString text = ToQString(word);
    for (const char* source : words)
        if (text == QLatin1String(source))
            return QCoreApplication::translate(context, source);
    return text;
}

QString PathOf(const Message& message, std::size_t index) {
    return index < message.paths.size() ? ToQString(message.paths[index]) : QString();
}

// One pass, so that a path holding "%2" stays as it is.
QString Filled(const QString& line, const std::array<QString, 3>& values) {
    QString text;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
        if (line[i] == QLatin1Char('%') && next >= QLatin1Char('1') && next <= QLatin1Char('3')) {
            text += values[std::size_t(next.unicode() - u'1')];
            ++i;
        } else {
            text += line[i];
        }
    }
    return text;
}

QStringList KindLines(const Message& message) {
    const std::array<QString, 3> values = {PathOf(message, 0), PathOf(message, 1),
                                           ToQString(message.detail)};
    QStringList lines;
    for (const KindWords& words : kMessageWords) {
        if (words.kind != message.kind)
            continue;
        for (const char* line : words.lines) {
            if (line == nullptr)
                continue;
            lines << Filled(QCoreApplication::translate("Messages", line), values);
        }
    }
    return lines;
}

}  // namespace

QString ActionWord(std::u16string_view actionName) {
    return Translated("Actions", kActionWords, actionName);
}

QString ColumnWord(Column column) {
    const auto index = static_cast<std::size_t>(column);
    return QCoreApplication::translate("Columns", kColumnWords[index]);
}

QString MessageWords(const Message& message, const QString& lineBreak) {
    QStringList lines;
    // A note is the window's or the command's own text, worded where it was made.
    for (const std::u16string& line : message.lines)
        lines << ToQString(line);
    if (message.kind != MessageKind::Note)
        lines = KindLines(message);
    const std::u16string reason = MessageReason(message);
    if (!reason.empty() && !lines.isEmpty())
        lines.back() += QLatin1String(": ") + ToQString(reason);
    return lines.join(lineBreak);
}

}  // namespace velmora::ui
