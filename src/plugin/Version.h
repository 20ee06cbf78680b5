// Product name and version, as they appear in the log and in the plug-in's name.
#pragma once

#define VELLOMIR_PRODUCT "Vellomir"
#define VELLOMIR_VERSION "2.1.0"
#define VELLOMIR_BUILD 2694
