// Stand-ins for functions of subsystems still to come: each has its final name and signature, does
// nothing and logs nothing. The subsystem that builds one removes it from here.
#pragma once

#include <cstdint>
#include <string>

#include "XPWidgets.h"
#include "comms/PhrasesDelivery.h"
#include "comms/RadioTexts.h"
#include "navdata/CenterFrequency.h"
#include "planning/ApproachPath.h"
#include "planning/Fms.h"
#include "taxi/TaxiSearch.h"
#include "ui/ChooseProcedureWindow.h"

class pilot;

// MARK: request dialog
/// Closes the request dialog, remembering its position; nothing when it is closed.
void RequestDialog_Close();

// MARK: read-back window
/// Opens the read-back window for gReadbackMessage (its "Readback" and "Say again" buttons answer
/// through comms/ReadbackAnswers).
void CreateReadbackDialog(int left, int top, int width, int height);
