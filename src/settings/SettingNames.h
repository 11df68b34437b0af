#pragma once

#include <cstdint>
#include <string_view>

// Every settings value name, once, with its default where the value has one. Root key unless
// noted.
namespace velmora::settings {

// A DWORD value read as a boolean (any number but 0 is true), and its default when absent.
struct BoolSetting {
    std::string_view name;
    bool fallback;
};
// A DWORD value, and its default when absent.
struct NumberSetting {
    std::string_view name;
    std::uint32_t fallback;
};
// A String value, and what an absent or empty one stands for.
struct TextSetting {
    std::string_view name;
    std::u16string_view fallback;
};

inline constexpr BoolSetting kRecurse{"Recurse", true};
inline constexpr BoolSetting kUse24{"Use2.4", false};
inline constexpr NumberSetting kEncoding{"Encoding", 0};
inline constexpr BoolSetting kAutoDeleteV1{"AutoDeleteV1", false};
inline constexpr BoolSetting kShowIcons{"ShowIcons", false};
inline constexpr BoolSetting kShowRedText{"ShowRedText", true};
inline constexpr BoolSetting kShowGridlines{"ShowGridlines", false};
inline constexpr BoolSetting kAlternateBg{"AlternateBg", true};
inline constexpr char kBrowseDir[] = "BrowseDir";
inline constexpr char kRegExps[] = "RegExps";
inline constexpr char kRenames[] = "Renames";
inline constexpr TextSetting kCodePage{"CodePage", u"CP1252"};
// The history of saves: whether one is kept, and how much of it (oldest batches go first).
inline constexpr BoolSetting kKeepHistory{"KeepHistory", true};
inline constexpr NumberSetting kHistoryMaxMiB{"HistoryMaxMiB", 1024};
inline constexpr NumberSetting kHistoryKeepDays{"HistoryKeepDays", 180};

// Where the window was left. A size of 0 is no size: the window keeps its own.
inline constexpr NumberSetting kWindowWidth{"WindowWidth", 0};
inline constexpr NumberSetting kWindowHeight{"WindowHeight", 0};
inline constexpr BoolSetting kWindowMaximized{"WindowMaximized", false};
inline constexpr TextSetting kColumnOrder{"ColumnOrder", u""};    // logical columns, "a,b,c"
inline constexpr TextSetting kColumnWidths{"ColumnWidths", u""};  // pixels by logical column
inline constexpr NumberSetting kSortColumn{"SortColumn", 0};      // logical column + 1; 0 unsorted
inline constexpr BoolSetting kSortDescending{"SortDescending", false};
inline constexpr TextSetting kFilterText{"FilterText", u""};

// Sub-key of the XML export options.
inline constexpr char kXmlKey[] = "XML";
inline constexpr char kV2Title[] = "V2Title";
inline constexpr char kV2Album[] = "V2Album";
inline constexpr char kV2Artist[] = "V2Artist";
inline constexpr char kV2Genre[] = "V2Genre";
inline constexpr char kV2Year[] = "V2Year";
inline constexpr char kV2Track[] = "V2Track";
inline constexpr char kV1Title[] = "V1Title";
inline constexpr char kV1Album[] = "V1Album";
inline constexpr char kV1Artist[] = "V1Artist";
inline constexpr char kV1Genre[] = "V1Genre";
inline constexpr char kV1Year[] = "V1Year";
inline constexpr char kV1Track[] = "V1Track";
inline constexpr char kFileName[] = "FileName";
inline constexpr char kFullPath[] = "FullPath";
inline constexpr char kMp3Duration[] = "Mp3Duration";
inline constexpr char kMp3Bitrate[] = "Mp3Bitrate";
inline constexpr char kMp3Vbr[] = "Mp3Vbr";
inline constexpr char kSkipIfEmpty[] = "SkipIfEmpty";
inline constexpr char kStructure0[] = "Structure0";
inline constexpr char kStructure1[] = "Structure1";
inline constexpr char kStructure2[] = "Structure2";
inline constexpr char kStructure3[] = "Structure3";

}  // namespace velmora::settings
