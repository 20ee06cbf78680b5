// The read-back and say-again handlers by the code of the read-back step.
#include "comms/ReadbackAnswers.h"

#include "comms/MessageQueue.h"
#include "comms/PhrasesArrival.h"
#include "comms/PhrasesCenter.h"
#include "comms/PhrasesDelivery.h"
#include "comms/PhrasesGround.h"
#include "comms/PhrasesHandOver.h"
#include "comms/PhrasesSpecial.h"
#include "comms/PhrasesTower.h"
#include "comms/SayAgain.h"
#include "plugin/Log.h"
#include "state/Pilot.h"

namespace
{

struct ReadbackAnswer {
    int code;
    void (*readback)(pilot *record);                   ///< a read-back the handler composes
    void (*readbackText)(pilot *record, const char *); ///< a read-back of the controller's composed text
    void (*sayAgain)(pilot *record);
};

const ReadbackAnswer kAnswers[] = {
    {40, FlightPlanning_RequestIFRClearanceReadback, nullptr, FlightPlanning_RequestIFRClearanceSayAgain},
    {130, Ground_RequestEngineStartupReadback, nullptr, Ground_RequestEngineStartupSayAgain},
    {131, Ground_RequestEngineStartupAndPushBackReadback, nullptr, Ground_RequestEngineStartupAndPushBackSayAgain},
    {225, Ground_RequestPushbackRejectedReadback, nullptr, nullptr},
    {230, Ground_RequestPushbackReadback, nullptr, Ground_RequestPushbackSayAgain},
    {330, nullptr, Ground_RequestTaxiReadback, Ground_RequestTaxiSayAgain},
    {420, Takeoff_RequestTakeOffReadback, nullptr, Takeoff_RequestTakeOffSayAgain},
    {520, nullptr, CenterInitialCallReadback, CenterInitialCallSayAgain},
    {525, nullptr, ApproachInitialCallReadback, ApproachInitialCallSayAgain},
    {550, nullptr, CenterDefaultReadback, CenterDefaultReadbackSayAgain},
    {610, nullptr, HandOverTowerForLandingReadBack, HandOverTowerForLandingSayAgain},
    {760, ComunicaClearedToLandReadback, nullptr, ComunicaClearedToLandSayAgain},
    {790, Tower_RunwayVacatedReadback, nullptr, Tower_RunwayVacatedSayAgain},
    {820, Ground_InitialCallReadback, nullptr, Ground_InitialCallSayAgain},
    {882, nullptr, HandOverTowerReadBack, HandOverTowerSayAgain},
    {920, nullptr, Tower_MissedApproachReadback, Tower_MissedApproachSayAgain},
    {1010, nullptr, HandOverCenterReadback, HandOverCenterReadbackSayAgain},
    {1011, nullptr, HandOverApproachReadback, HandOverApproachReadbackSayAgain},
    {1070, nullptr, CenterDefaultReadback, ApproachAnnounceReduceSpeedSayAgain},
    {1090, nullptr, Radio_CancelIFRReadback, Radio_CancelIFRSayAgain},
    {2000, nullptr, AnnounceSquawkIncorrect_ReadBack, AnnounceSquawkIncorrect_SayAgain},
    {3002, DeclareEmergencyReadbackCorrect, nullptr, DeclareEmergencySayAgain},
};

const ReadbackAnswer *Readback_find(int code)
{
    for (const ReadbackAnswer &answer : kAnswers)
        if (answer.code == code)
            return &answer;
    return nullptr;
}

} // namespace

bool Radio_AnswerReadback(pilot *record, int code, const char *text)
{
    const ReadbackAnswer *answer = Readback_find(code);
    if (answer == nullptr || record == nullptr) {
        PrintInfo("Radio_AnswerReadback", "No read-back for message code %i", code);
        return false;
    }
    // The IFR clearance is read back once a SID is chosen (or before the record is filled).
    if (code == 40 && !record->sidSelezionata && record->datiPilotaImpostati == 1)
        return false;
    gReadbackMessage = 0;
    if (answer->readback != nullptr)
        answer->readback(record);
    else
        answer->readbackText(record, text != nullptr ? text : "");
    return true;
}

bool Radio_AskSayAgain(pilot *record, int code)
{
    const ReadbackAnswer *answer = Readback_find(code);
    if (answer == nullptr || answer->sayAgain == nullptr || record == nullptr)
        return false;
    if (code == 40 && !record->sidSelezionata)
        return false;
    gReadbackMessage = 0;
    answer->sayAgain(record);
    return true;
}
