// KML text and files of the computed paths.
#include "planning/Kml.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <locale>
#include <sstream>

#include "plugin/Log.h"
#include "ui/Utils.h"

const char *const kKmlYellowPushpin = "http://maps.google.com/mapfiles/kml/pushpin/ylw-pushpin.png";
const char *const kKmlWhitePushpin = "http://maps.google.com/mapfiles/kml/pushpin/wht-pushpin.png";

std::string Kml_Escape(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += (unsigned char)c < 0x20 && c != '\t' ? ' ' : c;
            break;
        }
    }
    return out;
}

std::string Kml_Header(const char *documentName, const char *styleId, const char *iconHref, const char *folderName)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\" "
                      "xmlns:kml=\"http://www.opengis.net/kml/2.2\" xmlns:atom=\"http://www.w3.org/2005/Atom\">\n"
                      "<Document>\n";
    out += "<name>" + Kml_Escape(documentName) + "</name><Style id=\"" + Kml_Escape(styleId) +
           "\"><IconStyle><scale>1.3</scale><Icon><href>" + Kml_Escape(iconHref) +
           "</href></Icon><hotSpot x=\"20\" y=\"2\" xunits=\"pixels\" yunits=\"pixels\"/></IconStyle></Style>"
           "<StyleMap id=\"msn_ylw-pushpin\"><Pair><key>normal</key><styleUrl>#sn_ylw-pushpin</styleUrl></Pair>"
           "<Pair><key>highlight</key><styleUrl>#sh_ylw-pushpin</styleUrl></Pair></StyleMap>\n";
    out += "\t<Folder><name>" + Kml_Escape(folderName) + "</name><open>1</open>\n";
    return out;
}

std::string Kml_Placemark(const std::string &name, double lat, double lon)
{
    // The stream, not printf: the simulator or another plug-in may have set a locale with a decimal comma.
    std::ostringstream coordinates;
    coordinates.imbue(std::locale::classic());
    coordinates << lon << "," << lat;
    return "<Placemark><name>" + Kml_Escape(name) + "</name><styleUrl>#msn_ylw-pushpin</styleUrl><Point><coordinates>" +
           coordinates.str() + "</coordinates></Point></Placemark>\n";
}

std::string Kml_Footer()
{
    return "</Folder></Document></kml>\n";
}

bool Kml_WriteFile(const char *name, const std::string &contents, const char *tag)
{
    char path[1024];
    if (!Utils_PluginFilePath(name, path, sizeof path)) {
        PrintInfo(tag, "The path of %s is too long, not written", name);
        return false;
    }
    // A new file rather than the old one truncated: ext4 flushes a truncated file's blocks when it is
    // closed (so does a rename over it), milliseconds of a frozen frame; a new file is written back later.
    remove(path);
    FILE *file = fopen(path, "wb");
    if (file == nullptr) {
        PrintInfo(tag, "Unable to create %s: %s", path, strerror(errno));
        return false;
    }
    const bool written = fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    const bool closed = fclose(file) == 0;
    if (!written || !closed) {
        PrintInfo(tag, "Unable to write %s: %s", path, strerror(errno));
        return false;
    }
    return true;
}
