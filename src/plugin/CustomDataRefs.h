// The two integer datarefs published for other add-ons.
#pragma once

int GetDataiCallback(void *refcon);
void SetDataiCallback(void *refcon, int value);
int GetDataiCallback2(void *refcon);
void SetDataiCallback2(void *refcon, int value);

/// Publishes "Vellomir/radio_in_use" and "Vellomir/radio_facility_id".
void System_RegisterDataRefs();
void System_UnregisterDataRefs();
