#include "UiTestSupport.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QProcess>

#include "text/FileName.h"
#include "ui/bridges/QtText.h"
#include "ui/panel/GeneralPage.h"

namespace velmora::testing {

std::vector<TestFactory>& RegisteredTests() {
    static std::vector<TestFactory> tests;
    return tests;
}

std::shared_ptr<SeenBox> AnswerNextBox(QMessageBox::StandardButton button, bool tick,
                                       std::function<void()> during) {
    auto seen = std::make_shared<SeenBox>();
    WhenModal<QMessageBox>([seen, button, tick, during](QMessageBox* box) {
        seen->shown = true;
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->hasOwner = box->parentWidget() != nullptr;
        if (QCheckBox* check = box->checkBox()) {
            seen->checkText = check->text();
            check->setChecked(tick);
        }
        if (during)
            during();
        if (QAbstractButton* answer = box->button(button))
            QTest::mouseClick(answer, Qt::LeftButton);
        else
            box->done(-1);  // not the box the test expected: its text tells which it was
    });
    return seen;
}

namespace {

bool Names(QString shown, const QString& text) {
    return shown == text || shown.remove(QLatin1Char('&')) == text;
}

}  // namespace

QAction* ActionNamed(QWidget& window, const QString& text) {
    QAction* beginning = nullptr;
    for (QAction* action : window.findChildren<QAction*>()) {
        if (Names(action->text(), text))
            return action;
        if (!beginning && action->text().remove(QLatin1Char('&')).startsWith(text))
            beginning = action;
    }
    if (!beginning)
        qWarning("no action %s", qPrintable(text));
    return beginning;
}

QStringList Texts(const QAbstractItemModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

QAbstractButton* ButtonNamed(QWidget& parent, const QString& text) {
    for (QAbstractButton* button : parent.findChildren<QAbstractButton*>()) {
        if (Names(button->text(), text))
            return button;
    }
    qWarning("no button %s", qPrintable(text));
    return nullptr;
}

void Click(QWidget& parent, const QString& text) {
    QTest::mouseClick(ButtonNamed(parent, text), Qt::LeftButton);
}

void Press(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    dialog.findChild<QDialogButtonBox*>()->button(which)->click();
}

void Type(QLineEdit& field, const QString& text) {
    field.setFocus();
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Delete);
    QTest::keyClicks(&field, text);
}

std::shared_ptr<QStringList> ChooseInNextFileDialog(const std::filesystem::path& path) {
    auto offered = std::make_shared<QStringList>();
    WhenModal<QFileDialog>([offered, path](QFileDialog* dialog) {
        const bool asks = dialog->acceptMode() == QFileDialog::AcceptSave &&
                          !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        *offered << dialog->nameFilters() << dialog->selectedNameFilter()
                 << QFileInfo(dialog->selectedFiles().value(0)).fileName()
                 << dialog->defaultSuffix() << (asks ? u"asks"_s : QString());
        // Typed, as a user would: selectFile leaves the name field alone once it has the
        // focus, and the dialog then answers with its folder.
        dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)
            ->setText(QString::fromStdString(path.string()));
        static_cast<QDialog*>(dialog)->accept();  // the Save or Open button
    });
    return offered;
}

QString MutagenSays(const std::filesystem::path& file, const QString& expression) {
    QProcess python;
    python.start(u"/usr/bin/python3"_s,
                 {u"-c"_s,
                  u"import sys, mutagen.id3 as m; t = m.ID3(sys.argv[1]); print("_s + expression +
                      QLatin1Char(')'),
                  QString::fromStdString(file.string())});
    if (!python.waitForFinished(20000))
        return u"python3 did not finish"_s;
    const QByteArray error = python.readAllStandardError();
    return QString::fromUtf8(error.isEmpty() ? python.readAllStandardOutput() : error).trimmed();
}

WindowFixture::WindowFixture(const std::vector<Song>& songs, Start start)
    : songs_(scratch_.Root() / "songs") {
    WriteSongs(songs_, songs);
    auto opened = ui::UiEnvironment::Open(scratch_.Root() / "settings.toml");
    environment_ = std::move(opened.environment);
    auto chooser = std::make_unique<QueuedChooser>();
    chooser_ = chooser.get();
    environment_->SetChooser(std::move(chooser));
    window_ = std::make_unique<ui::MainWindow>(*environment_);
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowActive(window_.get()))
        qWarning("the window did not become active");
    if (start == Start::kLoaded && !Load())
        QFAIL("the songs did not load");
}

WindowFixture::~WindowFixture() {
    // Drops every handler still waiting, so none answers a later test's box.
    for (QTimer* poll : qApp->findChildren<QTimer*>(u"WhenModal"_s, Qt::FindDirectChildrenOnly))
        delete poll;
    window_.reset();
}

bool WindowFixture::Load(const std::filesystem::path& folder) {
    window_->OpenFolder(text::FileNameToText((folder.empty() ? songs_ : folder).string()));
    const bool idle = WaitIdle();
    window_->List().sortByColumn(int(Column::Filename), Qt::AscendingOrder);
    return idle;
}

QString WindowFixture::Cell(const QString& name, Column column) {
    return ColumnTexts(int(column)).value(ColumnTexts(int(Column::Filename)).indexOf(name));
}

void WindowFixture::Select(const QStringList& names) {
    auto& view = window_->List();
    view.clearSelection();
    for (int row = 0; row < window_->Files().Proxy().rowCount(); ++row) {
        if (names.contains(CellText(row, 0)))
            view.selectionModel()->select(window_->Files().Proxy().index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

bool WindowFixture::Activate() {
    window_->activateWindow();
    return QTest::qWaitForWindowActive(window_.get());
}

void WindowFixture::ClickRow(int row, Qt::KeyboardModifiers modifiers) {
    auto& view = window_->List();
    const QRect cell = view.visualRect(view.model()->index(row, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, cell.center());
}

void WindowFixture::ClickHeader(int column) {
    QHeaderView* header = window_->List().horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

std::shared_ptr<SeenBox> WindowFixture::Remove(const QStringList& names, const QString& command) {
    Select(names);
    auto seen = AnswerNextBox(QMessageBox::Yes);
    ActionNamed(*window_, command)->trigger();
    return seen;
}

void WindowFixture::AddUnreadableSongs() {
    for (const char* name : {"x.mp3", "y.mp3", "z.mp3"})
        std::filesystem::create_symlink(scratch_.Root() / "missing", songs_ / name);
}

QString WindowFixture::Text(const QString& name, edit::V2Field field) {
    return ui::ToQString(edit::V2FieldText(Record(name), field, environment_->Context().codePage));
}

Mp3File& WindowFixture::Record(const QString& name) {
    for (Mp3File* record : window_->Files().Model().Records()) {
        if (ui::ToQString(record->Name()) == name)
            return *record;
    }
    qFatal("no record %s", qPrintable(name));
}

}  // namespace velmora::testing
