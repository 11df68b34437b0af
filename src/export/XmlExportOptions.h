#pragma once

#include "export/XmlStructure.h"

namespace velmora {

class SettingsKey;

// Which location the "Location" radio buttons give a File element.
enum class XmlLocation { None, FileName, FullPath };

// The choices of the XML export: which attributes each File element gets and how the
// files are nested. Member defaults are the defaults of the settings sub-key XML.
struct XmlExportOptions {
    // Location. Both false means "No location info". Both true can only come from the
    // store; it is kept as read, and the file name then wins.
    bool fileName = true;
    bool fullPath = false;

    // MP3 Info.
    bool mp3Duration = false;
    bool mp3Bitrate = true;
    bool mp3Vbr = false;

    // ID3v2 fields.
    bool v2Artist = true;
    bool v2Album = true;
    bool v2Title = true;
    bool v2Year = false;
    bool v2Track = false;
    bool v2Genre = false;

    // ID3v1 fields.
    bool v1Artist = false;
    bool v1Album = false;
    bool v1Title = false;
    bool v1Year = false;
    bool v1Track = false;
    bool v1Genre = false;

    // "Skip field if empty".
    bool skipIfEmpty = true;

    XmlStructure structure;

    // The location attribute a File element gets.
    XmlLocation Location() const;
    // The user checks one of the three radio buttons.
    void SetLocation(XmlLocation location);

    bool operator==(const XmlExportOptions&) const = default;
};

// Reads the options from the sub-key XML; absent or unreadable values give the defaults,
// and the stored level numbers apply over the preset structure. Writes nothing.
XmlExportOptions LoadXmlExportOptions(const SettingsKey& xmlKey);

// Writes all eighteen switches and Structure0 .. Structure3 (disabled levels included).
void SaveXmlExportOptions(const XmlExportOptions& options, SettingsKey& xmlKey);

}  // namespace velmora
