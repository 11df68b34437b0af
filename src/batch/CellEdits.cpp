#include "batch/CellEdits.h"

#include <algorithm>
#include <limits>

#include "batch/RenameCommand.h"
#include "tags/id3v1/GenreTable.h"
#include "tags/id3v2/FrameIdTable.h"
#include "tags/ops/CommentOps.h"
#include "tags/ops/FrameTextOps.h"
#include "tags/record/EngineContext.h"
#include "tags/record/Mp3File.h"
#include "text/FileName.h"
#include "text/Utf8.h"

namespace velmora::batch {
namespace {

constexpr std::pair<Column, FrameId> kFrameColumns[] = {
    {Column::Track, frame_ids::kTrck},       {Column::Artist, frame_ids::kTpe1},
    {Column::Album, frame_ids::kTalb},       {Column::Title, frame_ids::kTit2},
    {Column::Year, frame_ids::kTyer},        {Column::Genre, frame_ids::kTcon},
    {Column::AlbumArtist, frame_ids::kTpe2}, {Column::Disc, frame_ids::kTpos},
    {Column::Composer, frame_ids::kTcom}};

// The language a new comment gets, as the command line's --comment gives it.
constexpr char kCommentLanguage[] = "eng";

bool AllDigits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

Message Refusal(const Mp3File& record, Column column, std::u16string_view why) {
    return NoteMessage({record.Name() + u": " + std::u16string(ColumnInfoOf(column).header) + u" " +
                        std::u16string(why)},
                       kErrorCaption, MessageIcon::Warning);
}

// The cell already shows the value (a genre also by its number).
bool Shows(const Mp3File& record, const CellEdit& edit, const text::CodePage& codePage) {
    const std::u16string shown = CellText(record, edit.column, codePage);
    if (shown == edit.value)
        return true;
    // A name that is not UTF-8 leaves the program (clipboard, CSV) with U+FFFD for each odd
    // byte; coming back so, it is the same name.
    if (edit.column == Column::Filename && text::HoldsEscapedBytes(shown))
        return text::ToUtf8(shown) == text::ToUtf8(edit.value);
    return edit.column == Column::Genre && !shown.empty() &&
           GenreDisplayFor(StoredCellValue(Column::Genre, edit.value)) == shown;
}

// Checks the file names of the plan together: one name given to two files is taken.
void CheckNames(CellPlan& plan) {
    std::vector<Mp3File*> files;
    std::vector<std::u16string> names;
    for (const CellEdit& edit : plan.changes) {
        if (edit.column == Column::Filename) {
            files.push_back(edit.record);
            names.push_back(edit.value);
        }
    }
    if (files.empty())
        return;
    const std::vector<RenamePreview> previews = PreviewNames(files, names);
    std::vector<CellEdit> kept;
    std::size_t next = 0;
    for (CellEdit& edit : plan.changes) {
        if (edit.column == Column::Filename && previews[next++].refusal)
            plan.refusals.push_back(*previews[next - 1].refusal);
        else
            kept.push_back(std::move(edit));
    }
    plan.changes = std::move(kept);
}

}  // namespace

bool IsEditableColumn(Column column) {
    return column == Column::Filename || column == Column::Comment ||
           std::any_of(std::begin(kFrameColumns), std::end(kFrameColumns),
                       [column](const auto& entry) { return entry.first == column; });
}

std::u16string StoredCellValue(Column column, std::u16string_view value) {
    if (column == Column::Genre && !value.empty() && value.size() <= 3 && AllDigits(value) &&
        std::stoul(text::ToUtf8(value)) < GenreTable::NamedGenreCount())
        return u"(" + std::u16string(value) + u")";
    return std::u16string(value);
}

CellPlan PlanCellEdits(std::vector<CellEdit> wanted, const text::CodePage& codePage) {
    CellPlanner planner(std::move(wanted), codePage);
    while (planner.Step(std::numeric_limits<std::size_t>::max())) {
    }
    return planner.Finish();
}

CellPlanner::CellPlanner(std::vector<CellEdit> wanted, const text::CodePage& codePage)
    : wanted_(std::move(wanted)), codePage_(codePage) {
    for (std::size_t i = 0; i < wanted_.size(); ++i)
        recordsTotal_ += i == 0 || wanted_[i].record != wanted_[i - 1].record;
}

bool CellPlanner::Step(std::size_t records) {
    for (std::size_t begun = 0; next_ < wanted_.size(); ++next_) {
        CellEdit& edit = wanted_[next_];
        if (next_ == 0 || edit.record != wanted_[next_ - 1].record) {
            if (begun++ == records)
                break;
            ++recordsDone_;
        }
        const Mp3File& record = *edit.record;
        if (Shows(record, edit, codePage_))
            continue;
        if (!IsEditableColumn(edit.column))
            plan_.refusals.push_back(Refusal(record, edit.column, u"cannot be edited"));
        else if (edit.column == Column::Year && !AllDigits(edit.value))
            plan_.refusals.push_back(Refusal(record, edit.column, u"takes digits only"));
        else
            plan_.changes.push_back(std::move(edit));
    }
    return next_ < wanted_.size();
}

CellPlan CellPlanner::Finish() {
    CheckNames(plan_);
    return std::move(plan_);
}

bool PasteFits(std::size_t lines, std::size_t rows) {
    return lines == 1 || lines == rows;
}

std::vector<CellEdit> PasteEdits(std::span<Mp3File* const> rows, std::span<const Column> columns,
                                 const std::vector<std::vector<std::u16string>>& lines) {
    std::vector<CellEdit> edits;
    if (lines.empty() || !PasteFits(lines.size(), rows.size()))
        return edits;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::vector<std::u16string>& fields = lines[lines.size() == 1 ? 0 : row];
        for (std::size_t i = 0; i < fields.size() && i < columns.size(); ++i)
            edits.push_back({rows[row], columns[i], fields[i]});
    }
    return edits;
}

void ApplyCellEdit(const CellEdit& edit, const EngineContext& context) {
    Mp3File& record = *edit.record;
    if (edit.column == Column::Filename) {
        record.SetFileName(edit.value);
        return;
    }
    if (edit.column == Column::Comment) {
        SetCommentText(record.V2(), u"", edit.value, kCommentLanguage, context);
        return;
    }
    for (const auto& [column, id] : kFrameColumns) {
        if (column == edit.column)
            SetFrameText(record.V2(), id, StoredCellValue(column, edit.value), context);
    }
}

}  // namespace velmora::batch
