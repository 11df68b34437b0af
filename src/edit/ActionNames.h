#pragma once

// The names under which the edit journal keeps each kind of change, as the Undo and Redo
// commands name them. Where a button or command makes the change, its caption.
namespace velmora::edit {

inline constexpr char16_t kEditTagsAction[] = u"Edit Tags";
inline constexpr char16_t kCopyFromId3v1Action[] = u"Copy from ID3v1";
inline constexpr char16_t kCapitalizeAction[] = u"Capitalize";
inline constexpr char16_t kUnderscoresAction[] = u"Convert _ to Space";
inline constexpr char16_t kRemoveId3v1Action[] = u"Remove ID3v1";
inline constexpr char16_t kRemoveId3v2Action[] = u"Remove ID3v2";
inline constexpr char16_t kCommentsAction[] = u"Edit Comment";
inline constexpr char16_t kPicturesAction[] = u"Edit Picture";
inline constexpr char16_t kDeleteCommentAction[] = u"Delete Comment";
inline constexpr char16_t kDeleteAllCommentsAction[] = u"Delete All Comments";
inline constexpr char16_t kDeletePictureAction[] = u"Delete Picture";
inline constexpr char16_t kDeleteAllPicturesAction[] = u"Delete All Pictures";
inline constexpr char16_t kAddCoverAction[] = u"Add Cover";
inline constexpr char16_t kRenameAction[] = u"Rename";
inline constexpr char16_t kGenerateAction[] = u"Generate ID3";
inline constexpr char16_t kTrackNumberAction[] = u"Track #";
inline constexpr char16_t kEditCellAction[] = u"Edit Cell";
inline constexpr char16_t kPasteAction[] = u"Paste";
inline constexpr char16_t kImportCsvAction[] = u"Import CSV";

}  // namespace velmora::edit
