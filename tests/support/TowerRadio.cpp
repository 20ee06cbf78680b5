// The linked-in frame driver with COM1 on a tower.
#include "support/TowerRadio.h"

#include "comms/DialogBox.h"
#include "plugin/FrameDriver.h"
#include "state/Pilot.h"
#include "support/PluginHost.h"
#include "ui/Settings.h"

void TowerRadio_Open()
{
    System_CreateDriverWindow();
    Driver_SkipFirstFrame();
    queue.clear();
    gOutputDialogues.clear();
    frequencyBusyUntil = 0;
    gIsSpeechActivated = 1;
    pilotObj.parser.towerFrequency = 118700;
    pilotObj.parser.groundFrequency = 121900;
    pilotObj.parser.deliveryFrequency = 0;
    simhost::TuneCom1(118.7);
}

void TowerRadio_Close()
{
    System_DestroyDriverWindow();
    queue.clear();
    frequencyBusyUntil = 0;
    pilotObj.parser = Parser();
}

messaggio &TowerRadio_Queue(const char *text, const char *facility, int duration, int code, bool byPilot)
{
    messaggio m;
    snprintf(m.text, sizeof m.text, "%s", text);
    SetFrequencyFilter(m.frequencyFilter, facility);
    m.duration = duration;
    m.message = code;
    m.spokenByPilot = byPilot;
    m.sender = &pilotObj;
    queue.push_back(m);
    return queue.back();
}
