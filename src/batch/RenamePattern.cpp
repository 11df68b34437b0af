#include "batch/RenamePattern.h"

#include <array>
#include <cwctype>

#include "common/Messages.h"
#include "tags/id3v2/FrameIdTable.h"

namespace velmora::batch {
namespace {

enum class Variable { Title, Album, Artist, Year, Track, Genre };

struct VariableName {
    std::u16string_view name;
    Variable variable;
};

// Compared in this order.
constexpr std::array<VariableName, 6> kVariables = {{
    {u"title", Variable::Title},
    {u"album", Variable::Album},
    {u"artist", Variable::Artist},
    {u"year", Variable::Year},
    {u"track", Variable::Track},
    {u"genre", Variable::Genre},
}};

std::unique_ptr<RenamePiece> MakePiece(Variable variable) {
    switch (variable) {
        case Variable::Title:
            return std::make_unique<FrameTextPiece>(frame_ids::kTit2);
        case Variable::Album:
            return std::make_unique<FrameTextPiece>(frame_ids::kTalb);
        case Variable::Artist:
            return std::make_unique<FrameTextPiece>(frame_ids::kTpe1);
        case Variable::Year:
            return std::make_unique<FrameTextPiece>(frame_ids::kTyer);
        case Variable::Track:
            return std::make_unique<TrackPiece>();
        case Variable::Genre:
            return std::make_unique<GenrePiece>();
    }
    return nullptr;
}

std::unique_ptr<RenamePiece> PieceFor(std::u16string_view name) {
    for (const auto& entry : kVariables) {
        if (entry.name == name)
            return MakePiece(entry.variable);
    }
    return nullptr;
}

bool IsLetter(char16_t c) {
    return std::iswalpha(static_cast<wint_t>(c)) != 0;
}

}  // namespace

RenameExpansion RenamePattern::Expand(const ShownTags& tags, const text::CodePage& codePage) const {
    RenameExpansion expansion;
    bool anyField = false;
    bool anyFieldText = false;
    for (const auto& piece : pieces_) {
        const std::size_t before = expansion.name.size();
        piece->AppendTo(tags, codePage, expansion.name);
        if (piece->IsField()) {
            anyField = true;
            anyFieldText = anyFieldText || expansion.name.size() != before;
        }
    }
    expansion.onlyPatternText = anyField && !anyFieldText;
    return expansion;
}

RenameCompileResult CompileRenamePattern(std::u16string_view expression) {
    std::vector<std::unique_ptr<RenamePiece>> pieces;
    LiteralPiece* openLiteral = nullptr;
    std::size_t i = 0;
    while (i < expression.size()) {
        if (expression[i] != u'%') {
            if (openLiteral) {
                openLiteral->Extend(expression.substr(i, 1));
            } else {
                auto literal = std::make_unique<LiteralPiece>(expression.substr(i, 1));
                openLiteral = literal.get();
                pieces.push_back(std::move(literal));
            }
            ++i;
            continue;
        }
        openLiteral = nullptr;
        const std::size_t nameStart = ++i;
        while (i < expression.size() && IsLetter(expression[i]))
            ++i;
        const std::u16string_view name = expression.substr(nameStart, i - nameStart);
        auto piece = PieceFor(name);
        if (!piece)
            return {std::nullopt, std::u16string(name)};
        pieces.push_back(std::move(piece));
    }
    if (openLiteral)
        openLiteral->Extend(u".mp3");
    else
        pieces.push_back(std::make_unique<LiteralPiece>(u".mp3"));
    return {RenamePattern(std::move(pieces)), {}};
}

std::optional<RenamePattern> CompileRenamePatternOrReport(std::u16string_view expression,
                                                          MessageSink& messages) {
    RenameCompileResult result = CompileRenamePattern(expression);
    if (!result.pattern)
        ShowError(messages, MessageKind::UnrecognizedField, {}, {}, result.unrecognizedField);
    return std::move(result.pattern);
}

}  // namespace velmora::batch
