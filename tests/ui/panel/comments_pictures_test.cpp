// The Comments and Pictures pages and their two dialogs, driven through the real window: the
// records they change, one undo per action, the messages, the files written and, after a
// save, what mutagen reads back.
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <fstream>

#include "edit/PictureFiles.h"
#include "tags/Id3v2TestSupport.h"
#include "tags/ops/CommentOps.h"
#include "tags/ops/PictureOps.h"
#include "ui/UiTestSupport.h"
#include "ui/bridges/PictureImage.h"
#include "ui/bridges/QtText.h"
#include "ui/dialogs/EditCommentDialog.h"
#include "ui/dialogs/EditPictureDialog.h"
#include "ui/panel/CommentsPage.h"
#include "ui/panel/PictureFrame.h"
#include "ui/panel/PicturesPage.h"
#include "ui/panel/TagEditorPanel.h"

namespace velmora::testing {
namespace {

namespace fs = std::filesystem;

Bytes Image(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

// Opens the comment dialog by `button` of `page`, gives it the description `text` and presses
// OK; what the dialog showed first: its description and its language.
QStringList EditComment(QWidget& page, const char* button, const QString& text) {
    auto shown = std::make_shared<QStringList>();
    WhenModal<ui::EditCommentDialog>([shown, text](ui::EditCommentDialog* dialog) {
        *shown << dialog->Description()->toPlainText() << dialog->Language()->currentText();
        dialog->Description()->setPlainText(text);
        Press(*dialog, QDialogButtonBox::Ok);
    });
    Click(page, button);
    return *shown;
}

}  // namespace

class CommentsPicturesTest : public QObject {
    Q_OBJECT

  private slots:
    // The comment dialog finds, preselects and applies to every file; comments and pictures
    // keep their frames and bytes through the pages and their dialogs.
    void commentsAndPicturesAreKnownByTheirFrameAndKeepTheirBytes() {
        WindowFixture fixture;
        auto& context = fixture.Environment().Context();
        Mp3File& a = fixture.Record("a.mp3");
        Mp3File& c = fixture.Record("c.mp3");
        AddComment(a.V2(), "fra", u"", u"bonjour", context);
        fixture.Select({"a.mp3", "b.mp3", "c.mp3"});
        auto& page = fixture.ShowPage<ui::CommentsPage>(ui::TagEditorPanel::kCommentsPage);
        QCOMPARE(page.List()->topLevelItemCount(), 0);  // shared by no other file
        QVERIFY(ButtonNamed(page, "Add")->isEnabled() && !ButtonNamed(page, "Edit")->isEnabled());

        // Add opens on the comment with the empty description: fra shows French, and the
        // files without it get a new one under the first row of French, fre.
        QCOMPARE(EditComment(page, "Add", u"salut"_s), (QStringList{"bonjour", "French"}));
        const auto added = GetComment(c.V2(), u"", context.codePage);
        QVERIFY(added.text == u"salut" && added.language == "fre");
        QCOMPARE(GetComment(a.V2(), u"", context.codePage).language, std::string("fra"));

        // Delete All takes every comment as one action (the journal's rules are tests/edit's).
        Click(page, "Delete All");
        QVERIFY(page.List()->topLevelItemCount() == 0 &&
                fixture.Window().Files().Journal().UndoName() == u"Delete All Comments");

        // Comments and pictures are known by their frame: the first comment of the empty
        // description is not the one acted on, and the picture of type 25, one too large to
        // decode, is listed without a thumbnail and stays as it was through OK.
        // 137 MiB decoded: past the window's limit (Qt 6.4's own is the same, later ones higher).
        const Bytes huge = Image(6000, 6000, "PNG");
        Id3v2Tag& tag = a.V2();
        AddComment(tag, "jpn", u"", u"Nihongo", context);
        AddComment(tag, "ger", u"", u"Deutsch", context);
        AddComment(tag, "XXX", u"note", u"keep", context);
        SetPicture(tag, "image/jpeg", u"real other", 0, Image(8, 8, "JPG"), context);
        SetPicture(tag, "image/png", u"odd", 25, huge, context);
        // Written and read back, so the languages come from the file.
        QVERIFY(fixture.Save());
        fixture.Window().Files().Reload(false);
        QVERIFY(fixture.WaitIdle());
        fixture.Select({"a.mp3"});
        auto& comments = fixture.ShowPage<ui::CommentsPage>(ui::TagEditorPanel::kCommentsPage);
        auto* list = comments.List();
        list->setCurrentItem(list->findItems(u"German"_s, Qt::MatchExactly, 1).value(0));
        QCOMPARE(EditComment(comments, "Edit", u"Neu"_s), (QStringList{"Deutsch", "German"}));
        list->setCurrentItem(list->findItems(u"German"_s, Qt::MatchExactly, 1).value(0));
        Click(comments, "Delete");

        // Two pictures show as "Other": the one of type 25 keeps its type through OK.
        auto& pictures = fixture.ShowPage<ui::PicturesPage>(ui::TagEditorPanel::kPicturesPage);
        QCOMPARE(pictures.List()->count(), 2);
        for (int row = 0; row < 2; ++row) {
            QListWidgetItem* item = pictures.List()->item(row);
            const bool odd = item->data(Qt::UserRole).toInt() == 25;
            QVERIFY(item->text() == u"Other"_s && item->icon().isNull() == odd);
            if (odd)
                pictures.List()->setCurrentRow(row);
        }
        QStringList state;
        WhenModal<ui::EditPictureDialog>([&state](ui::EditPictureDialog* dialog) {
            state << QString::number(dialog->Held().has_value())
                  << QString::number(dialog->Frame()->Image().isNull())
                  << dialog->SizeText()->text();
            dialog->findChild<QLineEdit*>()->setText(u"renamed"_s);
            Press(*dialog, QDialogButtonBox::Ok);
        });
        Click(pictures, "Edit");
        QCOMPARE(state, (QStringList{
                            "1", "1",
                            QLocale().formattedDataSize(qint64(huge.size())) + u", not shown"_s}));
        Mp3File& reloaded = fixture.Record("a.mp3");
        const Id3v2Frame* odd = FindPicture(reloaded.V2(), 25);
        QVERIFY(odd && PictureData(*odd, &reloaded) == huge);

        QVERIFY(fixture.Save());
        QCOMPARE(MutagenSays(fixture.Songs() / "a.mp3",
                             "sorted([c.lang + '|' + c.desc + '|' + c.text[0] for c in "
                             "t.getall('COMM')] + ['%d|%s' % (p.type, p.desc) for p in "
                             "t.getall('APIC')])"),
                 u"['0|real other', '25|renamed', 'XXX|note|keep', 'jpn||Nihongo']"_s);
    }

    // Which files are pictures is the core's table (PictureFiles): one asked about and
    // refused, then one taken for every selected file, by Browse and by a paste.
    void browseOrPasteAddsThePictureToEverySelectedFile() {
        const Bytes jpeg = Image(40, 30, "JPG");
        Bytes large = jpeg;
        large.resize(edit::kLargePictureBytes + 1, 'x');  // one byte over 3 MiB
        const std::tuple<const char*, Bytes, QString> rows[] = {
            {"large.jpg", large, "Image size is greater than 3 MB.\nContinue anyway?"},
            {"COVER.JPG", jpeg, ""}};
        WindowFixture fixture;
        fixture.Select({"a.mp3", "b.mp3"});
        auto& page = fixture.ShowPage<ui::PicturesPage>(ui::TagEditorPanel::kPicturesPage);
        for (const auto& [name, content, box] : rows) {
            const fs::path file = fixture.Scratch() / name;
            std::ofstream(file, std::ios::binary) << std::string(content.begin(), content.end());
            auto seen = AnswerNextBox(QMessageBox::No);
            auto size = std::make_shared<QString>();  // shown once a picture is held
            fixture.Chooser().answers << QString::fromStdString(file.string());
            WhenModal<ui::EditPictureDialog>([size](ui::EditPictureDialog* dialog) {
                QTimer::singleShot(0, dialog, [dialog, size] {
                    ButtonNamed(*dialog, "Browse for new picture...")->click();
                    *size = dialog->Held() ? dialog->SizeText()->text() : QString();
                    Press(*dialog, QDialogButtonBox::Ok);
                });
            });
            Click(page, "Add");
            QCOMPARE(seen->shown ? seen->text : QString(), box);
            QVERIFY2(size->startsWith(u"40 × 30 pixels, "_s) == box.isEmpty(), qPrintable(*size));
            for (const char* song : {"a.mp3", "b.mp3"}) {
                const Id3v2Frame* picture = FindPicture(fixture.Record(song).V2(), 0);
                QCOMPARE(picture ? PictureData(*picture, &fixture.Record(song)) : Bytes(),
                         box.isEmpty() ? content : Bytes());
            }
            QCOMPARE(page.List()->count(), box.isEmpty() ? 1 : 0);
        }

        // The file pasted (as a link) is a front cover of every selected file too; deleted and
        // undone, it is back; saved, it is on the disk.
        auto* mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(
            QString::fromStdString((fixture.Scratch() / "COVER.JPG").string()))});
        QApplication::clipboard()->setMimeData(mime);
        QVERIFY(fixture.Activate());  // the boxes took the window: shortcuts need it active
        page.List()->setFocus();
        QTest::keyClick(page.List(), Qt::Key_V, Qt::ControlModifier);
        const auto covers = page.List()->findItems(u"Cover (front)"_s, Qt::MatchExactly);
        QVERIFY(page.List()->count() == 2 && covers.size() == 1);
        QCOMPARE(ui::ToQString(fixture.Window().Files().Journal().UndoName()), u"Add Cover"_s);
        page.List()->setCurrentItem(covers[0]);
        Click(page, "Delete");
        QCOMPARE(page.List()->count(), 1);
        ActionNamed(fixture.Window(), u"Undo"_s)->trigger();
        QCOMPARE(page.List()->count(), 2);
        QVERIFY(fixture.Save());
        QCOMPARE(
            MutagenSays(fixture.Songs() / "b.mp3",
                        "sorted((int(p.type), p.mime, len(p.data)) for p in t.getall('APIC'))"),
            u"[(0, 'image/jpg', %1), (3, 'image/jpg', %1)]"_s.arg(jpeg.size()));
    }

    void savePictureOffersTheTypeNameAndSubtypeAndTheViewerGetsAPrivateFile() {
        WindowFixture fixture;
        const Bytes png = Image(400, 100, "PNG");
        Mp3File& a = fixture.Record("a.mp3");
        SetPicture(a.V2(), "image/png", u"front", 3, png, fixture.Environment().Context());
        fixture.Select({"a.mp3"});
        auto& page = fixture.ShowPage<ui::PicturesPage>(ui::TagEditorPanel::kPicturesPage);
        QVERIFY(page.List()->count() == 1 && page.List()->item(0)->text() == "Cover (front)");
        QCOMPARE(page.List()->item(0)->icon().availableSizes().value(0), QSize(96, 96));
        page.List()->setCurrentRow(0);

        const fs::path target = fixture.Scratch() / "saved.png";
        const auto offered = ChooseInNextFileDialog(target);
        FileCatcher viewer;
        auto drawn = std::make_shared<QRect>();
        // Then over a song of the list (through another spelling): refused.
        const QString song = fixture.SongsText() + "/./b.mp3";
        const std::string songBytes = ScratchDirectory::ReadFile(fixture.Songs() / "b.mp3");
        std::shared_ptr<SeenBox> refused;
        WhenModal<ui::EditPictureDialog>([&, drawn](ui::EditPictureDialog* dialog) {
            dialog->Frame()->resize(202, 202);
            *drawn = dialog->Frame()->ImageRect();
            QTimer::singleShot(0, dialog, [&, dialog] {
                ButtonNamed(*dialog, "Save picture...")->click();
                fixture.Chooser().answers << song;
                refused = AnswerNextBox(QMessageBox::Ok);
                ButtonNamed(*dialog, "Save picture...")->click();
                QTest::mouseClick(dialog->Frame(), Qt::LeftButton, {},
                                  dialog->Frame()->rect().center());
                dialog->reject();
            });
        });
        Click(page, "Edit");
        // 400 x 100 in a 200 x 200 area (inside the border) is drawn 200 x 50, 75 pixels down.
        QCOMPARE(*drawn, QRect(1, 1 + 75, 200, 50));
        QCOMPARE(*offered, (QStringList{"PNG Images (*.png)", "PNG Images (*.png)",
                                        "Cover  front .png", "png", "asks"}));
        QCOMPARE(B(ScratchDirectory::ReadFile(target)), png);
        QCOMPARE(refused->text, song + "\nis one of the songs loaded; nothing written");
        QCOMPARE(ScratchDirectory::ReadFile(fixture.Songs() / "b.mp3"), songBytes);
        const QFileInfo shown(viewer.files.value(0));
        QVERIFY(viewer.files.size() == 1 && shown.fileName() == "tempimage.png");
        QCOMPARE(B(ScratchDirectory::ReadFile(shown.filePath().toStdString())), png);
        QCOMPARE(QFile::permissions(shown.path()) & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        QVERIFY(!fixture.Window().Files().Journal().CanUndo());  // Cancel changed nothing
    }

    // A picture is decoded by its subtype, not guessed from its bytes (its size and the
    // refusal of one too large to decode are the cases above).
    void decodingGoesByTheSubtypeNotTheContent() {
        const Bytes png = Image(64, 48, "PNG");
        QVERIFY(ui::DecodePicture(png, "jpg").isNull() && ui::DecodePicture(png, "gif").isNull());
    }
};

VELMORA_UI_TEST(CommentsPicturesTest);

}  // namespace velmora::testing

#include "comments_pictures_test.moc"
