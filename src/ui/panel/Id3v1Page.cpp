#include "ui/panel/Id3v1Page.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QRegularExpressionValidator>

#include "edit/CommonValue.h"
#include "edit/TagEdits.h"
#include "tags/id3v1/GenreTable.h"
#include "tags/id3v1/Id3v1Record.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"
#include "ui/panel/FieldEdit.h"

namespace velmora::ui {
namespace {

// Where each field sits, and how many characters the tag holds of it.
struct TextPlace {
    std::size_t index;
    const char* label;
    std::size_t maxLength;
    int row;
    int column;
};
constexpr std::array<TextPlace, Id3v1Tag::kTextCount> kTextPlaces = {{
    {Id3v1Tag::kArtist, QT_TRANSLATE_NOOP("Id3v1Page", "Artist"), id3v1_width::kName, 0, 0},
    {Id3v1Tag::kTitle, QT_TRANSLATE_NOOP("Id3v1Page", "Title"), id3v1_width::kName, 1, 0},
    {Id3v1Tag::kAlbum, QT_TRANSLATE_NOOP("Id3v1Page", "Album"), id3v1_width::kName, 2, 0},
    {Id3v1Tag::kComment, QT_TRANSLATE_NOOP("Id3v1Page", "Comment"),
     id3v1_width::kCommentWithoutTrack, 3, 0},
    {Id3v1Tag::kYear, QT_TRANSLATE_NOOP("Id3v1Page", "Year"), id3v1_width::kYear, 1, 1},
}};
// The common values read: the texts, then the track, then the genre byte.
constexpr std::size_t kTrackIndex = Id3v1Tag::kTextCount;
constexpr int kTrackRow = 0;
constexpr int kGenreRow = 2;
// 0 to 255, the values of the track byte.
const char kTrackDigits[] = "([01]?[0-9]{0,2}|2[0-4][0-9]|25[0-5])";

}  // namespace

Id3v1Page::Id3v1Page(const PanelLink& link, QWidget* parent) : PanelPage(link, parent) {
    auto* grid = new QGridLayout(this);
    auto place = [&](FieldEdit* field, const QString& label, int row, int column) {
        grid->addWidget(new QLabel(label), row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
        connect(field, &QLineEdit::returnPressed, this, &PanelPage::saveAllWanted);
    };
    for (const TextPlace& text : kTextPlaces) {
        auto* field = new FieldEdit;
        field->setObjectName(QString::fromLatin1(text.label));
        field->setMaxLength(int(text.maxLength));
        texts_[text.index] = field;
        place(field, QCoreApplication::translate("Id3v1Page", text.label), text.row, text.column);
    }
    Text(Id3v1Tag::kYear)
        .setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    track_ = new FieldEdit;
    track_->setObjectName(QStringLiteral("Track"));
    track_->setMaxLength(3);
    track_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString::fromLatin1(kTrackDigits)), this));
    place(track_, tr("Track"), kTrackRow, 1);
    connect(track_, &QLineEdit::textChanged, this, &Id3v1Page::FitCommentToTrack);

    genre_ = new GenreBox(false);
    genre_->addItem(tr("(unchanged)"));
    for (const std::u16string_view name : edit::SortedGenreNames())
        genre_->addItem(ToQString(name));
    grid->addWidget(new QLabel(tr("Genre")), kGenreRow, 2);
    grid->addWidget(genre_, kGenreRow, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    grid->setRowStretch(4, 1);
}

void Id3v1Page::FitCommentToTrack() {
    // Beside a track the record holds 28 characters of comment (ID3v1.1), else 29.
    const bool track = track_->State() == edit::Shown::Multiple ||
                       edit::V1TrackByte(ToU16(track_->text())).value_or(0) != 0;
    Text(Id3v1Tag::kComment)
        .setMaxLength(
            int(track ? id3v1_width::kCommentWithTrack : id3v1_width::kCommentWithoutTrack));
}

void Id3v1Page::Reload(std::span<Mp3File* const> selection) {
    StartFill();
    FillPart(selection);
    EndFill();
}

void Id3v1Page::StartFill() {
    common_.emplace(kTrackIndex + 2, [](const Mp3File& record, std::size_t index) {
        if (index < kTrackIndex)
            return record.V1().Text(index);
        if (index == kTrackIndex)
            return edit::V1TrackText(record);
        return std::u16string(1, char16_t(record.V1().Genre()));
    });
}

void Id3v1Page::EndFill() {
    const std::vector<edit::CommonText> common = common_->Result();
    common_.reset();
    // Wide enough for any loaded comment until the track is known.
    Text(Id3v1Tag::kComment).setMaxLength(int(id3v1_width::kCommentWithoutTrack));
    for (const TextPlace& text : kTextPlaces)
        texts_[text.index]->Reload(common[text.index]);
    int entry = 0;
    const edit::CommonText& genre = common[kTrackIndex + 1];
    if (genre.shown == edit::Shown::Normal && genre.text[0] < GenreTable::NamedGenreCount()) {
        const auto& names = edit::SortedGenreNames();
        const auto name = GenreTable::GenreName(genre.text[0]);
        entry = 1 + int(std::find(names.begin(), names.end(), name) - names.begin());
    }
    genre_->ShowLoaded(entry);
    track_->Reload(common[kTrackIndex]);
    FitCommentToTrack();
}

edit::V1Edits Id3v1Page::Edits() const {
    edit::V1Edits edits;
    for (std::size_t index = 0; index < Id3v1Tag::kTextCount; ++index)
        edits.texts[index] = texts_[index]->Edit();
    edits.track = track_->Edit();
    // "(unchanged)" leaves the genres alone, also after another entry was picked.
    if (genre_->Changed() && genre_->currentIndex() > 0)
        edits.genre = GenreTable::GenreIndex(ToU16(genre_->currentText())).index;
    return edits;
}

void Id3v1Page::WriteEdits(std::span<Mp3File* const> selection) {
    const edit::V1Edits edits = Edits();
    if (!edits.Any())
        return;
    for (Mp3File* record : selection)
        edit::ApplyV1Edits(record->V1(), edits);
}

}  // namespace velmora::ui
