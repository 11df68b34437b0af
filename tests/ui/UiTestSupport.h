#pragma once

// Also the headers nearly every window test needs: the fixture hands out the window, its
// workspace and list, whose classes the tests then use.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "TestFolder.h"
#include "edit/TagEdits.h"
#include "support/ScratchDirectory.h"
#include "tags/record/Mp3File.h"
#include "ui/app/MainWindow.h"
#include "ui/app/UiEnvironment.h"
#include "ui/app/Workspace.h"
#include "ui/list/FileListView.h"
#include "ui/panel/GeneralPage.h"
#include "ui/panel/TagEditorPanel.h"

namespace velmora::testing {

using namespace Qt::StringLiterals;

// The test classes, registered by their files: ui_tests runs them all, or the one named.
using TestFactory = QObject* (*)();
std::vector<TestFactory>& RegisteredTests();
// At namespace scope after the class: registers `Class` with ui_tests.
#define VELMORA_UI_TEST(Class)                       \
    [[maybe_unused]] const bool kRegistered##Class = \
        (RegisteredTests().push_back([]() -> QObject* { return new Class; }), true)

// Runs `handler` on the next modal widget of type T as soon as it is up (checked every
// 10 ms for up to 10 s): how a test answers a box or a dialog that the code under test
// shows with exec().
template <class T>
void WhenModal(std::function<void(T*)> handler) {
    auto* poll = new QTimer(qApp);
    poll->setObjectName(QStringLiteral("WhenModal"));
    QObject::connect(poll, &QTimer::timeout, poll, [poll, handler, polls = 0]() mutable {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible()) {
            if (++polls > 1000)
                poll->deleteLater();
            return;
        }
        poll->stop();
        poll->deleteLater();
        handler(modal);
    });
    poll->start(10);
}

// Clicks the button under `parent` whose text is `text` (see ButtonNamed).
void Click(QWidget& parent, const QString& text);
// Presses one of the dialog's standard buttons.
void Press(QDialog& dialog, QDialogButtonBox::StandardButton which);

// Replaces the text of `field` by typing, as a user does.
void Type(QLineEdit& field, const QString& text);
// Answers the next file dialog with `path`, typed into its name field as a user types it;
// what it offered is filled in then: its filters, the one selected, the file name it proposed
// (the folder it opened in, when it proposed none), its default suffix, and "asks" when it
// asks before a file is replaced.
std::shared_ptr<QStringList> ChooseInNextFileDialog(const std::filesystem::path& path);

// The window's action whose text is `text`, with or without its accelerator marks; failing
// that, the first whose text begins so (Undo and Redo name what they undo).
QAction* ActionNamed(QWidget& window, const QString& text);
// The push button under `parent` whose text is `text`, with or without its accelerator marks.
QAbstractButton* ButtonNamed(QWidget& parent, const QString& text);

// What /usr/bin/python3 prints for `expression` over `t`, mutagen's ID3 tag of `file`; its
// error output instead when it fails.
QString MutagenSays(const std::filesystem::path& file, const QString& expression);

// The texts of the model's `column`, top to bottom.
QStringList Texts(const QAbstractItemModel& model, int column = 0);

// The child of `parent` with the object name; the test fails on a null reference if none.
template <class T>
T& ChildNamed(QWidget& parent, const char* name) {
    return *parent.findChild<T*>(QString::fromLatin1(name));
}

// The window's filter and status text, found by their object names.
inline QLineEdit& FilterOf(QWidget& window) {
    return ChildNamed<QLineEdit>(window, "filter");
}
inline QLabel& StatusOf(QWidget& window) {
    return ChildNamed<QLabel>(window, "status");
}

// Collects the local files the desktop was asked to open instead of opening them.
class FileCatcher : public QObject {
    Q_OBJECT

  public:
    FileCatcher() { QDesktopServices::setUrlHandler(u"file"_s, this, "Catch"); }
    ~FileCatcher() override { QDesktopServices::unsetUrlHandler(u"file"_s); }
    QStringList files;

  public slots:
    void Catch(const QUrl& url) { files << url.toLocalFile(); }
};

// What a message box showed before the test answered it.
struct SeenBox {
    bool shown = false;
    QString caption, text, checkText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool hasOwner = false;
};

// Answers the next message box with `button`, ticking its check box first when asked; runs
// `during` while the box is up.
std::shared_ptr<SeenBox> AnswerNextBox(QMessageBox::StandardButton button, bool tick = false,
                                       std::function<void()> during = {});

// Answers the window's file choosers with the paths queued; with none queued, the real dialog
// asks (for the tests of the dialogs themselves).
struct QueuedChooser final : ui::FileChooser {
    QStringList answers;
    std::vector<ui::FileQuestion> asked;  // oldest first
    ui::DialogFileChooser dialogs;

    QString Ask(QWidget* owner, const ui::FileQuestion& question) override {
        asked.push_back(question);
        return answers.isEmpty() ? dialogs.Ask(owner, question) : answers.takeFirst();
    }
};

// A window over a fresh settings store in a scratch folder, with a folder of songs: loaded
// (sorted by name), or not yet.
class WindowFixture {
  public:
    enum class Start { kLoaded, kEmpty };
    explicit WindowFixture(const std::vector<Song>& songs = SampleSongs(),
                           Start start = Start::kLoaded);
    explicit WindowFixture(Start start) : WindowFixture(SampleSongs(), start) {}
    ~WindowFixture();

    ui::MainWindow& Window() { return *window_; }
    ui::UiEnvironment& Environment() { return *environment_; }
    QueuedChooser& Chooser() { return *chooser_; }
    const std::filesystem::path& Songs() const { return songs_; }
    std::filesystem::path Scratch() const { return scratch_.Root(); }

    // Loads `folder` (default: the songs), sorted by name, and waits until the load is done.
    bool Load(const std::filesystem::path& folder = {});
    bool WaitIdle() {
        return QTest::qWaitFor([this] { return window_->Files().IsIdle(); }, 10000);
    }
    // Saves every pending change and waits until the save is done.
    bool Save() {
        window_->Files().Save();
        return WaitIdle();
    }
    QString CellText(int row, int column) { return ColumnTexts(column).value(row); }
    QStringList ColumnTexts(int column) { return Texts(window_->Files().Proxy(), column); }
    // The text in `column` of the shown row whose Filename is `name`.
    QString Cell(const QString& name, Column column);
    // Shows the panel's page `index`, of class `Page`.
    template <class Page>
    Page& ShowPage(ui::TagEditorPanel::PageIndex index) {
        window_->Panel().Tabs().setCurrentIndex(index);
        return static_cast<Page&>(window_->Panel().Page(index));
    }
    // The General page's field, and the text the loaded record `name` holds for it.
    ui::FieldEdit& Field(edit::V2Field field) {
        return static_cast<ui::GeneralPage&>(
                   window_->Panel().Page(ui::TagEditorPanel::kGeneralPage))
            .Field(field);
    }
    QString Text(const QString& name, edit::V2Field field);
    // Clicks the window's button `caption`.
    void Click(const QString& caption) { velmora::testing::Click(*window_, caption); }
    // Selects the shown rows whose Filename is in `names`.
    void Select(const QStringList& names);
    // The loaded record named `name`.
    Mp3File& Record(const QString& name);
    // The songs folder as the window shows it.
    QString SongsText() const { return QString::fromStdString(songs_.string()); }

    // Brings the window back to the front (a box may have taken it): shortcuts reach an
    // active window only.
    bool Activate();
    // Clicks the first cell of the shown row, or the header of the column.
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {});
    void ClickHeader(int column);
    // Selects `names` and runs the removal `command` ("Remove ID3v1", "Remove ID3v2"),
    // answering its question Yes.
    std::shared_ptr<SeenBox> Remove(const QStringList& names, const QString& command);
    // Adds three songs that cannot be opened: the load stops on a box for each.
    void AddUnreadableSongs();

    // Triggers the window's action `command` and runs `inside` on the modal dialog T it
    // opens; false when none opened.
    template <class T>
    bool RunDialog(const QString& command, std::function<void(T*)> inside) {
        auto ran = std::make_shared<bool>(false);
        WhenModal<T>([ran, inside](T* dialog) {
            *ran = true;
            inside(dialog);
        });
        ActionNamed(*window_, command)->trigger();
        return *ran;
    }

  private:
    ScratchDirectory scratch_;
    std::filesystem::path songs_;
    std::unique_ptr<ui::UiEnvironment> environment_;
    QueuedChooser* chooser_ = nullptr;
    std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace velmora::testing
