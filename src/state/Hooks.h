// Stand-ins for functions of subsystems still to come: each has its final name and signature, does
// nothing and logs nothing. The subsystem that builds one removes it from here.
#pragma once

#include <cstdint>
#include <string>

#include "XPWidgets.h"
#include "comms/PhrasesDelivery.h"
#include "comms/RadioTexts.h"
#include "comms/ReadbackWindow.h"
#include "comms/RequestDialog.h"
#include "navdata/CenterFrequency.h"
#include "planning/ApproachPath.h"
#include "planning/Fms.h"
#include "taxi/TaxiSearch.h"
#include "ui/ChooseProcedureWindow.h"

class pilot;

