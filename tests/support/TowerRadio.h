// The linked-in frame driver with COM1 on a tower: for tests of what the radio delivers.
#pragma once

#include "comms/MessageQueue.h"

/// Opens the driver window with the flight's first frame done, the departure's tower on 118.700 tuned
/// (ground 121.900, no delivery), the simulator's speech on, an empty queue and a free frequency.
void TowerRadio_Open();
/// Closes the driver window and empties the queue and the airport record again.
void TowerRadio_Close();
/// Queues a message heard on facility (after SetFrequencyFilter's fall-back); returned for more fields.
messaggio &TowerRadio_Queue(const char *text, const char *facility = "TOWER", int duration = 0, int code = 0,
                            bool byPilot = false);
