#include "ui/dialogs/EditPictureDialog.h"

#include <QCollator>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "edit/ActionNames.h"
#include "edit/PictureFiles.h"
#include "edit/PictureRules.h"
#include "tags/file/FileIdentity.h"
#include "tags/ops/PictureOps.h"
#include "tags/ops/PictureTypeNames.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/FileChooser.h"
#include "ui/bridges/PictureImage.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"
#include "ui/dialogs/PictureViewer.h"
#include "ui/panel/PanelLink.h"
#include "ui/panel/PictureFrame.h"

namespace velmora::ui {
namespace {

constexpr int kMaxDescription = 64;

QStringList TypeNames() {
    QStringList names;
    for (std::u16string_view name : kPictureTypeNames)
        names << ToQString(name);
    QCollator collator;
    std::sort(names.begin(), names.end(), collator);
    return names;
}

bool Decodable(const std::string& subtype) {
    return subtype == "jpg" || subtype == "jpeg" || subtype == "png";
}

// The first selected file's picture of the type, with its data when they are of a format
// shown here; none when they cannot be read (said through `messages`).
std::optional<edit::HeldPicture> PictureOf(const Mp3File& record, const Id3v2Frame& picture,
                                           const text::CodePage& codePage, MessageSink& messages) {
    std::string subtype = PictureMimeSubtype(picture, codePage);
    if (!Decodable(subtype))
        return std::nullopt;
    auto data = record.FieldBytesOrReport(*PictureDataField(picture), messages);
    if (!data)
        return std::nullopt;
    return edit::HeldPicture{std::move(subtype), std::move(*data)};
}

}  // namespace

EditPictureDialog::EditPictureDialog(const PanelLink& link, std::uint8_t pictureType,
                                     PictureViewer& viewer, QWidget* parent)
    : QDialog(parent),
      link_(link),
      pictureType_(pictureType),
      viewer_(viewer),
      frame_(new PictureFrame),
      size_(new QLabel),
      description_(new QLineEdit),
      type_(new QComboBox) {
    setWindowTitle(tr("Edit Picture Tag"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_, 1);
    layout->addWidget(new QLabel(tr("(click to open in your default image viewer)")));
    layout->addWidget(size_);
    auto* fileButtons = new QHBoxLayout;
    auto* save = new QPushButton(tr("&Save picture..."));
    auto* browse = new QPushButton(tr("&Browse for new picture..."));
    fileButtons->addWidget(save);
    fileButtons->addWidget(browse);
    layout->addLayout(fileButtons);
    auto* form = new QFormLayout;
    form->addRow(tr("&Description"), description_);
    form->addRow(tr("Image &type"), type_);
    layout->addLayout(form);
    auto* warning = new QLabel(
        tr("WARNING: Make sure there is only one image type per file. Changing this option will "
           "cause previous picture with this type to be overwritten."));
    warning->setWordWrap(true);
    layout->addWidget(warning);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &EditPictureDialog::SavePicture);
    connect(browse, &QPushButton::clicked, this, &EditPictureDialog::Browse);
    connect(frame_, &PictureFrame::clicked, this, &EditPictureDialog::OpenInViewer);

    type_->addItems(TypeNames());
    type_->setCurrentText(ToQString(edit::PictureTypeLabel(pictureType)));
    description_->setMaxLength(kMaxDescription);
    const auto selection = link.Selection();
    const Id3v2Frame* picture =
        selection.empty() ? nullptr : FindPicture(selection.front()->V2(), pictureType);
    if (picture) {
        const text::CodePage& codePage = link.Engine().codePage;
        description_->setText(ToQString(PictureDescription(*picture, codePage)));
        SetPicture(PictureOf(*selection.front(), *picture, codePage, link.Messages()));
    } else {
        SetPicture(std::nullopt);
    }
}

void EditPictureDialog::SetPicture(std::optional<edit::HeldPicture> picture) {
    held_ = std::move(picture);
    frame_->SetImage(held_ ? DecodePicture(held_->data, held_->subtype) : QImage());
    if (!held_) {
        size_->setText(tr("No picture data"));
        return;
    }
    const QString bytes = QLocale().formattedDataSize(qint64(held_->data.size()));
    const QImage& image = frame_->Image();
    size_->setText(
        image.isNull()
            ? tr("%1, not shown").arg(bytes)
            : tr("%1 \u00D7 %2 pixels, %3").arg(image.width()).arg(image.height()).arg(bytes));
}

void EditPictureDialog::Browse() {
    FileQuestion question{FileQuestion::Kind::ExistingFile, tr("Browse for new picture")};
    question.filters = tr("JPG Files (*.jpg *.jpeg *.JPG *.JPEG);;PNG Files (*.png *.PNG);;"
                          "All Supported Files (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG)")
                           .split(QStringLiteral(";;"));
    const QString path = link_.Chooser().Ask(this, question);
    if (path.isEmpty())
        return;
    if (auto picture = edit::ReadPictureFile(PathFromQString(path), link_.Messages()))
        SetPicture(std::move(picture));
}

void EditPictureDialog::SavePicture() {
    if (!held_) {
        link_.Messages().Show(NoteMessage({edit::kImageIsEmpty}, kAppCaption, MessageIcon::Error));
        return;
    }
    const std::string& subtype = held_->subtype;
    FileQuestion question{FileQuestion::Kind::NewFile, tr("Save picture")};
    question.filters = QStringList{ToQString(edit::PictureSaveFilter(subtype))};
    question.defaultSuffix = QString::fromStdString(subtype);
    question.name = ToQString(edit::PictureSaveName(edit::PictureTypeLabel(pictureType_)));
    const QString chosen = link_.Chooser().Ask(this, question);
    if (chosen.isEmpty())
        return;
    const std::u16string path = PathFromQString(chosen);
    // Written over a song of the list, the picture would be all that is left of the song.
    if (const auto target = IdentityOfPath(path)) {
        for (const Mp3File* record : link_.Loaded()) {
            const auto song = IdentityOfPath(record->DiskPath());
            if (song && SameFile(*target, *song)) {
                link_.Messages().Show(
                    NoteMessage({path, u"is one of the songs loaded; nothing written"},
                                kErrorCaption, MessageIcon::Error));
                return;
            }
        }
    }
    edit::WritePictureFile(path, held_->data, link_.Messages());
}

void EditPictureDialog::OpenInViewer() {
    if (held_)
        viewer_.Open(held_->data, held_->subtype, link_.Messages());
}

void EditPictureDialog::accept() {
    // A type byte past the list shows as "Other": left so, the picture keeps its own byte.
    const QString typeName = type_->currentText();
    const std::uint8_t type = typeName == ToQString(edit::PictureTypeLabel(pictureType_))
                                  ? pictureType_
                                  : PictureTypeIndex(ToU16(typeName));
    const edit::PictureEdit edit{pictureType_, type, ToU16(description_->text()), held_};
    link_.ApplyToEach(edit::kPicturesAction,
                      [&](Mp3File& record) { edit::ApplyPicture(record, edit, link_.Engine()); });
    QDialog::accept();
}

}  // namespace velmora::ui
