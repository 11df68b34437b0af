#pragma once

#include <cstdint>
#include <string>

namespace velmora {

class Id3v2Tag;
struct EngineContext;

namespace batch {

// A change of one list row's state, as the list control reports it.
struct RowStateChange {
    bool anyRowSelected = false;    // at least one row of the list is selected now
    bool selectionChanged = false;  // the selected state is among the changed attributes
    bool nowSelected = false;       // the row is selected after the change
};

// Track numbering mode: while on, every row that becomes selected gets the next number
// in its TRCK frame, so the user numbers tracks by clicking them in order.
class TrackNumbering {
  public:
    // Switching on always restarts at 1.
    void SwitchOn() {
        on_ = true;
        trackCounter_ = 1;
    }
    void SwitchOff() { on_ = false; }
    bool IsOn() const { return on_; }

    // The number the next selected row receives; kept, unused, while the mode is off.
    std::uint32_t TrackCounter() const { return trackCounter_; }

    // "Track #" while off, "Track <next number>" while on.
    std::u16string Caption() const;

    // Sets TRCK of the row's tag to the next number (replacing any "/total") and advances
    // the counter when the mode is on and the row has just become selected. True when a
    // number was given, so the caller refreshes the row's track column and the caption.
    bool OnRowStateChanged(Id3v2Tag& tag, const RowStateChange& change,
                           const EngineContext& context);

  private:
    bool on_ = false;
    std::uint32_t trackCounter_ = 1;
};

}  // namespace batch
}  // namespace velmora
