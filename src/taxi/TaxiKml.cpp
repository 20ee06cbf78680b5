// TaxiPath.kml and the developer's flooding files: KML 2.2 documents with a shared pushpin style.
#include "taxi/TaxiKml.h"

#include <cmath>

#include "planning/Kml.h"
#include "plugin/Log.h"
#include "state/Pilot.h"
#include "ui/Settings.h"
#include "ui/Utils.h"

namespace
{

const char *const kTag = "Taxi Path Drawer";

FILE *TaxiKml_open(const char *file, const char *documentName, const char *folder)
{
    char path[1024];
    if (!Utils_PluginFilePath(file, path, sizeof path)) {
        PrintInfo(kTag, "Taxi Path Drawer: the path of %s does not fit, not written", file);
        return nullptr;
    }
    PrintInfo(kTag, "Taxi Path Drawer: generating %s: '%s'", file, path);
    FILE *out = fopen(path, "w");
    if (out == nullptr) {
        PrintInfo(kTag, "Taxi Path Drawer: cannot write '%s', no KML", path);
        return nullptr;
    }
    fprintf(out,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>%s</name>\n"
            "<Style id=\"sh_ylw-pushpin\"><IconStyle><scale>1.3</scale><Icon><href>"
            "http://maps.google.com/mapfiles/kml/pushpin/ylw-pushpin.png</href></Icon>"
            "<hotSpot x=\"20\" y=\"2\" xunits=\"pixels\" yunits=\"pixels\"/></IconStyle></Style>\n"
            "<Style id=\"sn_ylw-pushpin\"><IconStyle><scale>1.1</scale><Icon><href>"
            "http://maps.google.com/mapfiles/kml/pushpin/ylw-pushpin.png</href></Icon>"
            "<hotSpot x=\"20\" y=\"2\" xunits=\"pixels\" yunits=\"pixels\"/></IconStyle></Style>\n"
            "<StyleMap id=\"msn_ylw-pushpin\"><Pair><key>normal</key><styleUrl>#sn_ylw-pushpin</styleUrl></Pair>"
            "<Pair><key>highlight</key><styleUrl>#sh_ylw-pushpin</styleUrl></Pair></StyleMap>\n"
            "<Folder>\n<name>%s</name>\n",
            documentName, folder);
    return out;
}

void TaxiKml_close(FILE *out, const char *file)
{
    fputs("</Folder></Document></kml>\n", out);
    if (ferror(out) || fclose(out) != 0)
        PrintInfo(kTag, "Taxi Path Drawer: writing %s failed", file);
}

void TaxiKml_line(FILE *out, const std::string &name, double lat1, double lon1, double lat2, double lon2)
{
    fprintf(out,
            "<Placemark><name>%s</name><styleUrl>#msn_ylw-pushpin</styleUrl><LineString><coordinates>"
            "%.8f,%.8f,0 %.8f,%.8f,0</coordinates></LineString></Placemark>\n",
            name.c_str(), lon1, lat1, lon2, lat2);
}

void TaxiKml_route(const pilot *record)
{
    const char *file = "TaxiPath.kml";
    FILE *out = TaxiKml_open(file, file, "TaxiPath");
    if (out == nullptr)
        return;
    const auto &route = record->taxiPoints;
    char name[32];
    // From the aircraft to the runway; an edge is named after the taxiway it runs along.
    for (size_t i = route.size(); i > 1; i--) {
        snprintf(name, sizeof name, "%i - ", (int)(route.size() - i));
        TaxiKml_line(out, name + Kml_Escape(route[i - 2].name), route[i - 1].lat, route[i - 1].lon, route[i - 2].lat,
                     route[i - 2].lon);
    }
    TaxiKml_close(out, file);
}

void TaxiKml_flooding(const TaxiGraph &graph)
{
    if (graph.label.size() != graph.nodes.size())
        return;
    if (FILE *out = TaxiKml_open("FloodingLines.kml", "Flooding.kml", "Flooding")) {
        char name[64];
        for (size_t i = 0; i < graph.nodes.size(); i++) {
            int from = graph.previous[i];
            if (from < 0)
                continue;
            snprintf(name, sizeof name, "%i - %i - ", from, (int)i);
            TaxiKml_line(out, name + Kml_Escape(graph.names[(size_t)graph.previousName[i]]),
                         graph.nodes[(size_t)from].lat, graph.nodes[(size_t)from].lon, graph.nodes[i].lat,
                         graph.nodes[i].lon);
        }
        TaxiKml_close(out, "FloodingLines.kml");
    }
    if (FILE *out = TaxiKml_open("FloodingPoints.kml", "FloodingPoints.kml", "Flooding Points")) {
        for (size_t i = 0; i < graph.nodes.size(); i++) {
            if (std::isinf(graph.label[i]))
                continue;
            fprintf(out,
                    "<Placemark><name>%i-%i-%i</name><styleUrl>#msn_ylw-pushpin</styleUrl><Point><coordinates>"
                    "%.8f,%.8f,0</coordinates></Point></Placemark>\n",
                    (int)i, graph.nodes[i].lineID, (int)(graph.label[i] * 1852.0f), graph.nodes[i].lon,
                    graph.nodes[i].lat);
        }
        TaxiKml_close(out, "FloodingPoints.kml");
    }
}

} // namespace

void Taxi_WriteKml(const pilot *record, const TaxiGraph &graph)
{
    if (gKMLExp != 1)
        return;
    if (developerDEBUG)
        TaxiKml_flooding(graph);
    if (record->taxiPoints.size() >= 2)
        TaxiKml_route(record);
}
