// Google Earth KML files of the paths the plug-in computes (the filed route, the approach path): one
// header, escaped placemarks and the footer, written whole into the plug-in's folder.
#pragma once

#include <string>

/// Public pushpin icons of the KML map service.
extern const char *const kKmlYellowPushpin;
extern const char *const kKmlWhitePushpin;

/// Text with the five XML special characters (& < > " ') written as entities; control characters other
/// than tab become spaces (XML 1.0 refuses them).
std::string Kml_Escape(const std::string &text);
/// The XML declaration, the kml element, the document named documentName with one pushpin style
/// (styleId, icon at iconHref, scale 1.3, hot spot 20,2 pixels) and the style map "msn_ylw-pushpin",
/// then an open folder named folderName.
std::string Kml_Header(const char *documentName, const char *styleId, const char *iconHref, const char *folderName);
/// One placemark line: the escaped name, style "#msn_ylw-pushpin", "lon,lat" with six significant
/// digits whatever the locale.
std::string Kml_Placemark(const std::string &name, double lat, double lon);
/// Closes the folder, the document and the kml element.
std::string Kml_Footer();
/// Writes contents as the whole file name in the plug-in's folder (an empty contents empties it).
/// False, with the reason logged under tag, when it cannot be written.
bool Kml_WriteFile(const char *name, const std::string &contents, const char *tag);
