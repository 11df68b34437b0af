#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "batch/regex/RegexNode.h"
#include "batch/regex/RegexOptions.h"
#include "batch/regex/StructureNodes.h"

namespace velmora::regex {

inline constexpr int kMaxGroupNumber = 255;

// Slot n holds capturing group n once its ")" has been read; slot 0 is the whole pattern.
using CaptureTable = std::array<GroupNode*, kMaxGroupNumber + 1>;

// Turns a pattern into a tree of nodes, reading it left to right one UTF-16 unit at a time
// and throwing REGEXPERROR at the first error. One compiler compiles one pattern.
class RegexCompiler {
  public:
    RegexCompiler(NodePool& pool, RegexOptions& options, CaptureTable& captures)
        : pool_(pool), options_(options), captures_(captures) {}

    // Returns group 0, the whole pattern; the capture table is filled as groups close.
    GroupNode& Compile(std::u16string_view pattern);

  private:
    // Nodes of one nesting level not yet combined, and the alternatives read so far.
    struct Level {
        std::vector<RegexNode*> operands;
        RegexNode* pendingAlternation = nullptr;
    };
    // One open parenthesis.
    struct GroupRecord {
        bool capturing = false;
        bool atomic = false;
        bool lookaround = false;
        bool positive = false;
        bool ahead = false;
        int number = 0;
        std::u16string name;
    };

    void ReadConstruct(char16_t c);
    bool AtEnd() const { return at_ >= pattern_.size(); }
    Direction CurrentDirection() const;

    // Operand lists and alternation.
    void Append(RegexNode* node);
    void AppendLiteral(std::u16string text);
    RegexNode* MakeSequence(std::vector<RegexNode*> operands);
    RegexNode* CloseLevel();
    void Alternate();

    // Groups.
    void OpenGroup();
    // False for an option group, which is read to its ")" and opens no level.
    bool ReadGroupKind(GroupRecord& record);
    void ReadOptionGroup();
    void CloseGroup();
    GroupNode* MakeGroup(RegexNode& child, int number, std::u16string name);

    // Quantifiers, classes and escapes.
    void Quantify(std::size_t min, std::size_t max);
    void ReadBraceQuantifier();
    std::size_t ReadNumber();
    void ReadClass();
    void ReadEscape();
    void ReadQuoted();
    void ReadBackReference();
    RegexNode* MakeWordClass();
    RegexNode* MakeSpaceClass();

    NodePool& pool_;
    RegexOptions& options_;
    CaptureTable& captures_;
    std::u16string_view pattern_;
    std::size_t at_ = 0;
    std::vector<Level> levels_;
    std::vector<GroupRecord> groups_;
    int groupCount_ = 0;
    std::bitset<kMaxGroupNumber + 1> closed_;
};

}  // namespace velmora::regex
