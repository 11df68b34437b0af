// The batch commands through the real window and dialogs: Track # numbering by clicks,
// the Rename dialog with its preview, and the "Generate ID3" dialog; each undone.
#include <QAction>
#include <QPushButton>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/FileListView.h"
#include "ui/Workspace.h"

namespace velmora::testing {
namespace {

constexpr int kTrackColumn = 1;

QPushButton* FindButton(QWidget& parent, const QString& caption) {
    for (QPushButton* button : parent.findChildren<QPushButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == caption)
            return button;
    }
    return nullptr;
}

void ClickRow(WindowFixture& fixture, int row, Qt::KeyboardModifiers modifiers = {}) {
    auto& view = fixture.Window().List();
    const QRect cell = view.visualRect(fixture.Window().Files().Proxy().index(row, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, cell.center());
}

}  // namespace

class BatchDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    // Rows are numbered as they become selected: a range top to bottom, rows already
    // selected or losing their selection keep their numbers; each number undoes alone.
    void trackNumbersRowsAsTheyBecomeSelected() {
        WindowFixture fixture;
        QVERIFY(fixture.Load());
        QPushButton* toggle = FindButton(fixture.Window(), "Track #");
        QVERIFY(toggle);
        const QStringList loaded = fixture.ColumnTexts(kTrackColumn);
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), QStringLiteral("Track 1"));

        ClickRow(fixture, 1);
        ClickRow(fixture, 3, Qt::ControlModifier);
        ClickRow(fixture, 1, Qt::ControlModifier);  // deselected: not renumbered
        ClickRow(fixture, 3);                       // already the only selected row
        QCOMPARE(toggle->text(), QStringLiteral("Track 3"));
        ClickRow(fixture, 0, Qt::ShiftModifier);  // rows 0 to 3; row 3 was selected
        QCOMPARE(fixture.ColumnTexts(kTrackColumn), QStringList({"3", "4", "5", "2"}));
        QCOMPARE(toggle->text(), QStringLiteral("Track 6"));

        QAction* undo = ActionNamed(fixture.Window(), "Undo Track #");
        QVERIFY(undo);
        undo->trigger();
        undo->trigger();
        QCOMPARE(fixture.ColumnTexts(kTrackColumn), QStringList({"3", "1", loaded[2], "2"}));

        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), QStringLiteral("Track #"));
        fixture.Select({});
        ClickRow(fixture, 2);  // off: no number
        QCOMPARE(fixture.CellText(2, kTrackColumn), loaded[2]);
        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->text(), QStringLiteral("Track 1"));
        ClickRow(fixture, 1);
        QCOMPARE(fixture.CellText(1, kTrackColumn), QStringLiteral("1"));
    }
};

QObject* MakeBatchDialogsTest() {
    return new BatchDialogsTest;
}

}  // namespace velmora::testing

#include "batch_dialogs_test.moc"
