// The texts of frequencies and of the altimeter setting as the controllers' phrases write them.
#pragma once

#include <string>

/// The frequency (the simulator's whole number: kHz from X-Plane 11.30, tens of kHz before) in MHz:
/// "126.850" from 11330 on, "126.85" below.
std::string printFrequenciesDecimals(double frequency);
/// The altimeter setting as phrase text: "QNH 1013" (with " hectopascal" below 1000) when gQNH is 1, else
/// "altimeter 29.92" (altimeterDecimal 1) or "altimeter 2992"; with spelled true the number is between
/// "#" marks so that it is spoken digit by digit.
std::string printAltimeter(bool spelled);
/// The weather's sea-level pressure in whole hectopascal (truncated).
int getAltimeterQNHInHpa();
/// The weather's sea-level pressure in inches of mercury, rounded to hundredths.
float getAltimeterInHg();
