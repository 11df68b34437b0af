#include "ui/panel/PicturesPage.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QListWidget>
#include <QMimeData>
#include <QShortcut>
#include <QUrl>

#include "edit/ActionNames.h"
#include "edit/PictureFiles.h"
#include "tags/ops/PictureOps.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "ui/bridges/QtText.h"
#include "ui/bridges/UiMessageSink.h"
#include "ui/dialogs/EditPictureDialog.h"

namespace velmora::ui {
namespace {

bool CarriesPicture(const QMimeData& data) {
    return data.hasUrls() || data.hasFormat(QStringLiteral("image/png")) ||
           data.hasFormat(QStringLiteral("image/jpeg"));
}

// Image bytes on the clipboard (a picture copied from a browser): checked as a file's are.
std::optional<edit::HeldPicture> PictureFromBytes(const QByteArray& bytes, MessageSink& messages) {
    edit::PictureRead read = edit::PictureFromBytes({bytes.begin(), bytes.end()});
    if (!read.picture)
        messages.Show(
            NoteMessage(edit::RefusalLines(read.refusal, {}), kAppCaption, MessageIcon::Error));
    return std::move(read.picture);
}

}  // namespace

PicturesPage::PicturesPage(const PanelLink& link, QWidget* parent)
    : ListPage(link, parent), list_(new QListWidget) {
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(ThumbnailCache::kSide, ThumbnailCache::kSide));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMovement(QListView::Static);
    list_->setResizeMode(QListView::Adjust);
    list_->setWordWrap(true);
    // A drop on the list reaches the page.
    list_->setAcceptDrops(false);
    setAcceptDrops(true);
    SetList(list_);
    auto* paste =
        new QShortcut(QKeySequence::Paste, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(paste, &QShortcut::activated, this, &PicturesPage::Paste);
}

QPixmap PicturesPage::ThumbnailOf(const Mp3File& record, const Id3v2Frame& picture) {
    const std::string subtype = PictureMimeSubtype(picture, Link().Engine().codePage);
    if (subtype != "jpg" && subtype != "jpeg" && subtype != "png")
        return {};
    const auto bytes = record.FieldBytesOrReport(*PictureDataField(picture), Link().Messages());
    if (!bytes)
        return {};
    return thumbnails_.Thumbnail(*bytes, subtype, list_->palette().color(QPalette::Base));
}

void PicturesPage::Fill(std::span<Mp3File* const> selection) {
    list_->clear();
    for (const edit::SharedPicture& picture :
         edit::SharedPictures(selection, Link().Engine().codePage, Link().Messages())) {
        auto* item = new QListWidgetItem(ToQString(edit::PictureTypeLabel(picture.type)), list_);
        item->setData(kKeyRole, int(picture.type));
        const QPixmap thumbnail = ThumbnailOf(*selection.front(), *picture.frame);
        if (!thumbnail.isNull())
            item->setIcon(QIcon(thumbnail));
    }
}

void PicturesPage::Open(const QVariant& key) {
    EditPictureDialog dialog(Link(), std::uint8_t(key.toInt()), viewer_, window());
    dialog.exec();
}

void PicturesPage::DeleteRow(const QVariant& key) {
    const auto type = std::uint8_t(key.toInt());
    Link().ApplyToEach(edit::kDeletePictureAction,
                       [&](Mp3File& record) { edit::DeletePicture(record, type); });
}

void PicturesPage::DeleteAllRows() {
    Link().ApplyToEach(edit::kDeleteAllPicturesAction, edit::DeleteAllPictures);
}

bool PicturesPage::AddFrom(const QMimeData& mime) {
    if (!Link().Editable() || Link().Selection().empty() || !CarriesPicture(mime))
        return false;
    std::optional<edit::HeldPicture> picture;
    if (mime.hasUrls()) {
        const QUrl url = mime.urls().front();
        if (!url.isLocalFile())
            return false;
        picture = edit::ReadPictureFile(PathFromQString(url.toLocalFile()), Link().Messages());
    } else {
        const QString format = mime.hasFormat(QStringLiteral("image/png"))
                                   ? QStringLiteral("image/png")
                                   : QStringLiteral("image/jpeg");
        picture = PictureFromBytes(mime.data(format), Link().Messages());
    }
    if (picture) {
        Link().ApplyToEach(edit::kAddCoverAction, [&](Mp3File& record) {
            edit::AddCover(record, *picture, Link().Engine());
        });
    }
    ReloadSelection();
    return true;
}

void PicturesPage::Paste() {
    if (const QMimeData* mime = QApplication::clipboard()->mimeData())
        AddFrom(*mime);
}

void PicturesPage::dragEnterEvent(QDragEnterEvent* event) {
    if (Link().Editable() && !Link().Selection().empty() && CarriesPicture(*event->mimeData()))
        event->acceptProposedAction();
}

void PicturesPage::dropEvent(QDropEvent* event) {
    if (AddFrom(*event->mimeData()))
        event->acceptProposedAction();
}

}  // namespace velmora::ui
