// "Vellomir/radio_in_use" (Data1) and "Vellomir/radio_facility_id" (Data3): readable and writable ints.
#include "plugin/CustomDataRefs.h"

#include "XPLMDataAccess.h"
#include "plugin/PluginGlobals.h"

int GetDataiCallback(void *)
{
    return Data1;
}

void SetDataiCallback(void *, int value)
{
    Data1 = value;
}

int GetDataiCallback2(void *)
{
    return Data3;
}

void SetDataiCallback2(void *, int value)
{
    Data3 = value;
}

namespace {
XPLMDataRef CustomDataRefs_register(const char *name, XPLMGetDatai_f getter, XPLMSetDatai_f setter)
{
    return XPLMRegisterDataAccessor(name, xplmType_Int, 1, getter, setter, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}
} // namespace

void System_RegisterDataRefs()
{
    gCustomDatarefRadioInUse = CustomDataRefs_register("Vellomir/radio_in_use", GetDataiCallback, SetDataiCallback);
    gCustomDatarefRadioFacility =
        CustomDataRefs_register("Vellomir/radio_facility_id", GetDataiCallback2, SetDataiCallback2);
}

void System_UnregisterDataRefs()
{
    if (gCustomDatarefRadioInUse != nullptr)
        XPLMUnregisterDataAccessor(gCustomDatarefRadioInUse);
    if (gCustomDatarefRadioFacility != nullptr)
        XPLMUnregisterDataAccessor(gCustomDatarefRadioFacility);
    gCustomDatarefRadioInUse = gCustomDatarefRadioFacility = nullptr;
}
