#pragma once

// Every settings value name, once. Root key unless noted.
namespace velmora::settings {

inline constexpr char kRecurse[] = "Recurse";
inline constexpr char kUse24[] = "Use2.4";
inline constexpr char kEncoding[] = "Encoding";
inline constexpr char kAutoDeleteV1[] = "AutoDeleteV1";
inline constexpr char kShowIcons[] = "ShowIcons";
inline constexpr char kShowRedText[] = "ShowRedText";
inline constexpr char kShowGridlines[] = "ShowGridlines";
inline constexpr char kAlternateBg[] = "AlternateBg";
inline constexpr char kBrowseDir[] = "BrowseDir";
inline constexpr char kRegExps[] = "RegExps";
inline constexpr char kRenames[] = "Renames";
inline constexpr char kCodePage[] = "CodePage";

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

// Default of the code page value.
inline constexpr char16_t kDefaultCodePage[] = u"CP1252";

}  // namespace velmora::settings
