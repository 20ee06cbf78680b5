// KML files of the taxi route search, for Google Earth.
#pragma once

#include <cstdio>
#include <string>

#include "taxi/TaxiGraph.h"

class pilot;

/// With KML export on, writes "TaxiPath.kml" (one placemark per edge of the record's route) into the
/// plug-in's folder, and in developer mode "FloodingLines.kml" and "FloodingPoints.kml" (the edges and
/// nodes the search labelled). A file that cannot be written is logged and skipped.
void Taxi_WriteKml(const pilot *record, const TaxiGraph &graph);
