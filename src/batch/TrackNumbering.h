#pragma once

#include <cstdint>
#include <string>

namespace velmora {

class Id3v2Tag;
struct EngineContext;

namespace batch {

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

    // Numbers a record whose row has just become selected: while the mode is on, sets its
    // TRCK to the next number (the whole text, a "/total" included) and advances the
    // counter. The window calls it for each newly selected row, in the order the selection
    // reports them; rows that stay selected or lose their selection are not numbered. True
    // when a number was given, so the caller refreshes the row and the caption.
    bool NumberNext(Id3v2Tag& tag, const EngineContext& context);

  private:
    bool on_ = false;
    std::uint32_t trackCounter_ = 1;
};

}  // namespace batch
}  // namespace velmora
