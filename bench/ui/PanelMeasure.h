#pragma once

namespace velmora::ui {
class MainWindow;
}

namespace velmora::bench {

// The editor panel over every row: filling it from the whole selection; "Save All" of one
// typed title into every record, its undo and its redo, each timed whole and by the longest
// gap between 10 ms timer ticks on the interface thread; the journal's bytes per record.
void MeasurePanel(ui::MainWindow& window);

}  // namespace velmora::bench
