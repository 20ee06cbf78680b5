// Lays the tests' navigation data into the simulated X-Plane.
#pragma once

/// The US AIRAC 1911 navaid and fix cut (tests/data/navdb) as X-Plane's own earth_nav.dat and earth_fix.dat,
/// and the gateway airports as the global apt.dat of the host's X-Plane version.
void LayTestNavDatabase();
