#include "ui/panel/GeneralPage.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "edit/ActionNames.h"
#include "edit/CommonValue.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"
#include "ui/panel/FieldEdit.h"

namespace velmora::ui {
namespace {

using edit::V2Field;

// Where each field sits: two columns of label and field.
struct FieldPlace {
    V2Field field;
    const char* label;
    int row;
    int column;
};
constexpr std::array<FieldPlace, edit::kV2FieldCount> kPlaces = {{
    {V2Field::LeadArtist, QT_TRANSLATE_NOOP("GeneralPage", "Lead Artist"), 0, 0},
    {V2Field::Album, QT_TRANSLATE_NOOP("GeneralPage", "Album"), 1, 0},
    {V2Field::Title, QT_TRANSLATE_NOOP("GeneralPage", "Title"), 2, 0},
    {V2Field::AlbumArtist, QT_TRANSLATE_NOOP("GeneralPage", "Album Artist"), 3, 0},
    {V2Field::Composer, QT_TRANSLATE_NOOP("GeneralPage", "Composer"), 4, 0},
    {V2Field::Year, QT_TRANSLATE_NOOP("GeneralPage", "Year"), 0, 1},
    {V2Field::Track, QT_TRANSLATE_NOOP("GeneralPage", "Track"), 1, 1},
    {V2Field::Disc, QT_TRANSLATE_NOOP("GeneralPage", "Disc"), 2, 1},
}};
constexpr int kGenreRow = 3;

// The frames the text buttons work on, in this order.
constexpr std::array<FrameId, 3> kWordFrames = {frame_ids::kTpe1, frame_ids::kTalb,
                                                frame_ids::kTit2};

}  // namespace

GeneralPage::GeneralPage(const PanelLink& link, QWidget* parent) : PanelPage(link, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildFields());
    layout->addWidget(BuildButtons());
    layout->addStretch();
}

QWidget* GeneralPage::BuildFields() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    for (const FieldPlace& place : kPlaces) {
        auto* field = new FieldEdit;
        field->setObjectName(QString::fromLatin1(place.label));
        fields_[std::size_t(place.field)] = field;
        // The label names its field, also to a screen reader.
        auto* label = new QLabel(QCoreApplication::translate("GeneralPage", place.label));
        label->setBuddy(field);
        grid->addWidget(label, place.row, place.column * 2);
        grid->addWidget(field, place.row, place.column * 2 + 1);
        connect(field, &QLineEdit::returnPressed, this, &PanelPage::saveAllWanted);
    }
    Field(V2Field::Year)
        .setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));

    genre_ = new GenreBox(true);
    for (const std::u16string_view name : edit::SortedGenreNames())
        genre_->addItem(ToQString(name));
    auto* genreLabel = new QLabel(tr("Genre"));
    genreLabel->setBuddy(genre_);
    grid->addWidget(genreLabel, kGenreRow, 2);
    grid->addWidget(genre_, kGenreRow, 3);
    connect(genre_->lineEdit(), &QLineEdit::returnPressed, this, &PanelPage::saveAllWanted);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    return box;
}

QWidget* GeneralPage::BuildButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto add = [&](const QString& caption, auto command) {
        auto* button = new QPushButton(caption);
        connect(button, &QPushButton::clicked, this, command);
        layout->addWidget(button);
    };
    add(tr("Cop&y from ID3v1"), [this] {
        RunOnEach(edit::kCopyFromId3v1Action, [this](Mp3File& record) {
            CopyFromId3v1(record.V2(), record.V1(), Link().Engine());
        });
    });
    add(tr("Capitali&ze"), [this] {
        RunOnEach(edit::kCapitalizeAction, [this](Mp3File& record) {
            for (const FrameId& id : kWordFrames)
                CapitalizeWords(record.V2(), id, Link().Engine());
        });
    });
    add(tr("Con&vert _ to Space"), [this] {
        RunOnEach(edit::kUnderscoresAction, [this](Mp3File& record) {
            for (const FrameId& id : kWordFrames)
                UnderscoresToSpaces(record.V2(), id, Link().Engine());
        });
    });
    layout->addStretch();
    return row;
}

void GeneralPage::RunOnEach(std::u16string name, const std::function<void(Mp3File&)>& change) {
    Link().ApplyToEach(std::move(name), change);
    const std::vector<Mp3File*> selection = Link().Selection();
    // Every record selected: what they now share is known without reading them.
    if (!Link().IsEvery(selection.size()) || !ReloadAsEvery())
        Reload(selection);
}

void GeneralPage::Reload(std::span<Mp3File* const> selection) {
    StartFill();
    FillPart(selection);
    EndFill();
}

void GeneralPage::StartFill() {
    const text::CodePage& codePage = Link().Engine().codePage;
    // One pass over a selection of any size.
    common_.emplace(edit::kV2ShownCount, [&codePage](const Mp3File& record, std::size_t index) {
        return edit::V2ShownText(record, index, codePage);
    });
}

void GeneralPage::EndFill() {
    const std::vector<edit::CommonText> common = common_->Result();
    common_.reset();
    Show(common);
}

bool GeneralPage::ReloadAsEvery() {
    const std::optional<std::vector<edit::CommonText>> common = Link().ShownTextsOfEvery();
    if (common)
        Show(*common);
    return common.has_value();
}

void GeneralPage::Show(const std::vector<edit::CommonText>& common) {
    const edit::CommonText& genre = common[edit::kV2FieldCount];
    const auto entry = genre.shown == edit::Shown::Normal
                           ? edit::SortedGenreStartingWith(genre.text)
                           : std::nullopt;
    if (entry)
        genre_->ShowLoaded(int(*entry));
    else
        genre_->ShowLoaded(-1,
                           genre.shown == edit::Shown::Normal ? ToQString(genre.text) : QString());
    for (std::size_t index = 0; index < edit::kV2FieldCount; ++index)
        fields_[index]->Reload(common[index]);
}

edit::V2Edits GeneralPage::Edits() const {
    edit::V2Edits edits;
    for (std::size_t index = 0; index < edit::kV2FieldCount; ++index)
        edits.fields[index] = fields_[index]->Edit();
    if (genre_->Changed())
        edits.genre = ToU16(genre_->currentText());
    return edits;
}

void GeneralPage::WriteEdits(std::span<Mp3File* const> selection) {
    const edit::V2Edits edits = Edits();
    if (!edits.Any())
        return;
    for (Mp3File* record : selection)
        edit::ApplyV2Edits(*record, edits, Link().Engine());
}

}  // namespace velmora::ui
