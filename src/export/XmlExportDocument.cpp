#include "export/XmlExportDocument.h"

#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "export/XmlWriter.h"

namespace velmora {

namespace {

using FileRefs = std::vector<const ExportedFile*>;

struct GroupKind {
    const char16_t* element;
    const char16_t* attribute;
    const std::u16string ExportedFile::*text;
};

GroupKind KindOf(XmlGrouping key) {
    switch (key) {
        case XmlGrouping::Artist:
            return {u"Artist", u"name", &ExportedFile::artist};
        case XmlGrouping::Album:
            return {u"Album", u"name", &ExportedFile::album};
        case XmlGrouping::Year:
            return {u"Year", u"value", &ExportedFile::year};
        case XmlGrouping::Directory:
            return {u"Directory", u"path", &ExportedFile::directory};
        case XmlGrouping::List:
            break;
    }
    return {nullptr, nullptr, nullptr};
}

// Groups in the order of their first file; files keep their order within a group.
std::vector<FileRefs> Partition(const FileRefs& files, const std::u16string ExportedFile::*text) {
    std::vector<FileRefs> groups;
    std::unordered_map<std::u16string_view, std::size_t> groupOfKey;
    for (const ExportedFile* file : files) {
        const auto [it, added] = groupOfKey.try_emplace(file->*text, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[it->second].push_back(file);
    }
    return groups;
}

class TreeBuilder {
  public:
    explicit TreeBuilder(const XmlExportOptions& options) : options_(options) {}

    // Beyond the last level every file is listed, so a key chosen at the last level
    // groups and then lists: no file goes missing.
    void Group(XmlElement& parent, std::size_t level, const FileRefs& files) const {
        const XmlGrouping key =
            level < XmlStructure::kLevelCount ? options_.structure.Key(level) : XmlGrouping::List;
        const GroupKind kind = KindOf(key);
        if (kind.element == nullptr) {
            for (const ExportedFile* file : files) {
                AddFileElement(parent, options_, *file);
            }
            return;
        }
        for (const FileRefs& group : Partition(files, kind.text)) {
            XmlElement& element = parent.AddChild(kind.element);
            element.Add<XmlStringAttribute>(kind.attribute, group.front()->*kind.text);
            Group(element, level + 1, group);
        }
    }

  private:
    const XmlExportOptions& options_;
};

}  // namespace

XmlElement BuildXmlExportTree(const XmlExportOptions& options,
                              const std::vector<ExportedFile>& files) {
    XmlElement root(u"MP3List");
    root.AddChild(u"Generator").Add<XmlStringAttribute>(u"name", kXmlGeneratorName);
    FileRefs refs;
    refs.reserve(files.size());
    for (const ExportedFile& file : files) {
        refs.push_back(&file);
    }
    TreeBuilder(options).Group(root, 0, refs);
    return root;
}

std::string BuildXmlExportDocument(const XmlExportOptions& options,
                                   const std::vector<ExportedFile>& files) {
    std::u16string text;
    Serialize(BuildXmlExportTree(options, files), 0, text);
    return EncodeDocument(text);
}

}  // namespace velmora
