#include "languages/messages.h"

namespace {

// English, German, Czech. Where German keeps the English text, it is written out again, so that every row
// shows all three texts as the user sees them.
// clang-format off
constexpr MessageRow kMessageRows[] = {
    {7, {"Unmatched version of PC and Ignition programs!",
         "Versionen von PC-Programm und Zündung passen nicht zusammen!",
         "Neshodná verze programu v PC a v zapalování!"}},
    {8, {"Unmatched subversion of PC and Ignition programs!",
         "Unterversionen von PC-Programm und Zündung passen nicht zusammen!",
         "Neshodná podverze programu v PC a v zapalování!"}},
    {11, {"Advance", "Vorzündung", "Předstih"}},
    {12, {"Number of Programing = ", "Programmierungsanzahl = ", "Počet programování = "}},
    {13, {"Blocking ", "Blockierung ", "Blokování "}},
    {14, {"Start limiter", "Startbegrenzer", "Startovací omezovač"}},
    {15, {"Start limiter by ignition", "Startbegrenzer über Zündung", "Startovací omezovač zapalováním"}},
    {16, {"Start limiter by retard", "Startbegrenzer über Spätverstellung", "Startovací omezovač zpožděním"}},
    {17, {"Limiter by ignition", "Begrenzer über Zündung", "Omezovač zapalováním"}},
    {18, {"Limiter by injection", "Begrenzer über Einspritzung", "Omezovač vstřikem"}},
    {19, {"Limiter by retard", "Begrenzer über Spätverstellung", "Omezovač zpožděním"}},
    {20, {"YES", "JA", "ANO"}},
    {21, {"NO", "NEIN", "NE"}},
    {27, {"Open file error!", "Fehler beim Öffnen der Datei!", "Chyba při otevírání souboru!"}},
    {28, {"Can't open page for coupled jet !", "Can't open page for coupled jet !",
          "Otevření stránky pro spřažené vstřiky není podporováno !"}},
    {29, {"Do you want default setting?", "Wollen Sie Standardeinstellungen öffnen?", "Chcete nastavit základní hodnoty?"}},
    {30, {"Do you want cancel special mode ?\nSynchro changes will be abolished ?",
          "Um eine spezielle Einstellung zu beenden ?\nÄnderungen im Synchro wird abgebrochen !",
          "Chcete ukončit speciální nastavení ?\nZměny v synchru budou zrušeny !"}},
    {31, {"Do you want delete special settings?", "Do you want delete special settings?",
          "Přejete si smazat speciální nastavení?"}},
    {33, {"Older version of *.ign file!\n\nSome parameters won't be changed or will be set to default value.\n"
          "They are parameters which are not in older version or have another structure.",
          "Älter Version von Datendatei *.ign!\n\nEinige Kenndaten werden nicht geändert oder werden implizit Wert "
          "gestellt.\nSie sind die Kenndaten, die in älter Version nicht sind oder andere Struktur haben",
          "Starší verze souboru *.ign!\n\nNěkteré parametry budou nezměněny nebo nataveny na základní hodnotu.\n"
          "Jsou to parametry, které v této verzi nebyly obsaženy nebo měly jinou strukturu."}},
    {34, {"Unmatched version of *.ign file!", "Datendatei *.ign ist nicht kompatiebel!",
          "Neshodná verze souboru *.ign!"}},
    {38, {"Pick-up (CKPS)", "Geber (CKPS)", "Snímač (CKPS)"}},
    {39, {"Pick-up (CMPS)", "Geber (CMPS)", "Snímač (CMPS)"}},
    {40, {" is running", " läuft", " pracuje"}},
    {41, {" no signal", " kein Signal", " bez signálu"}},
    {43, {"This version of program Kelvora.exe is not for required bike!",
          "Diese Version des Programms Kelvora.exe ist nicht für das gewählte Motorrad!",
          "Tato verze programu Kelvora.exe není určena pro zvolený motocykl!"}},
    {46, {"Injection time", "Einspritzzeit", "Doba vstřiku"}},
    {47, {"Max injection", "Max. Einspritzung", "Max. vstřik"}},
    {49, {"Exhaust servo ", "Abblaseservo", "Výfuk. servo "}},
    {50, {"Intake servo", "Ansaugservo", "Sací servo "}},
    {52, {"Potentiometer", "Potentiometer", "Potenciometr"}},
    {53, {"Fall sensor", "Not Aus Sensor", "Pádový senzor"}},
    {54, {"Cooling", "Kühlung", "Chlazení"}},
    {55, {"Gear", "Gang", "Převod"}},
    {66, {"Shift up master", "Hochschalten Master", "Řazení nahoru master"}},
    {67, {"Tacho", "Tacho", "Tacho"}},
    {68, {"Lambda", "Lambda", "Lambda"}},
    {69, {"Tacho/AFR, autotunning", "Tacho/AFR, autotunning", "Otáčkoměr/AFR, autoladění"}},
    {71, {"Inj. according TP", "Einspr. nach TP", "Vstřik podle TP"}},
    {72, {"Coolant", "Kühlmittel", "Chladicí kapalina"}},
    {73, {"Coolant", "Kühlmittel", "Chladicí kapalina"}},
    {77, {"Idle", "Freilauf", "Volnoběh"}},
    {78, {"Desired RPM", "Solldrehzahl", "Požadované otáčky"}},
    {79, {"Hysteresis [rpm]", "Hysteresis [rpm]", "Hystereze [rpm]"}},
    // Lambda tuning states: "T: " tuning, "E: " Einstellung, "L: " ladění.
    {83, {"T: rpm=0", "E: rpm=0", "L: rpm=0"}},
    {84, {"T: Coupled", "E: Gekoppelt", "L: Spřažené"}},
    {85, {"T: no TP, no IAP", "E: kein TP, kein IAP", "L: bez TP, bez IAP"}},
    {86, {"T: Tunning is off", "E: Abstimmung ist aus", "L: Ladění je vypnuto"}},
    {87, {"T: Accelarition is to high", "E: Beschleunigung zu hoch", "L: Příliš velké zrychlení"}},
    {88, {"T: Lambda is to low", "E: Lambda zu niedrig", "L: Lambda je příliš nízká"}},
    {89, {"T: Lambda is to high", "E: Lambda zu hoch", "L: Lambda je příliš vysoká"}},
    {90, {"T: TP is to low", "E: TP zu niedrig", "L: TP je příliš nízké"}},
    {91, {"T: RPM to low", "E: Drehzahl zu niedrig", "L: Příliš nízké otáčky"}},
    {92, {"T: Temperature is to low", "E: Temperatur zu niedrig", "L: Příliš nízká teplota"}},
    {93, {"T: Temperature is to high", "E: Temperatur zu hoch", "L: Příliš vysoká teplota"}},
    {94, {"T: Jet from TP and IAP map", "E: Einspritzung aus TP- und IAP-Kennfeld", "L: Vstřik z mapy TP a IAP"}},
    {95, {"T: It is not in point-RPM low", "E: Nicht im Punkt - Drehzahl niedrig", "L: Mimo bod - nízké otáčky"}},
    {96, {"T: It is not in point-RPM high", "E: Nicht im Punkt - Drehzahl hoch", "L: Mimo bod - vysoké otáčky"}},
    {97, {"T: It is not in point-TP low", "E: Nicht im Punkt - TP niedrig", "L: Mimo bod - nízké TP"}},
    {98, {"T: It is not in point-TP high", "E: Nicht im Punkt - TP hoch", "L: Mimo bod - vysoké TP"}},
    {99, {"T: Lambda voltage error", "E: Fehler Lambdaspannung", "L: Chyba napětí lambda sondy"}},
    {100, {"T: RPM to low (before first point)", "E: Drehzahl zu niedrig (vor dem ersten Punkt)",
           "L: Příliš nízké otáčky (před prvním bodem)"}},
    {101, {"T: RPM high (after last point)", "E: Drehzahl hoch (nach dem letzten Punkt)",
           "L: Vysoké otáčky (za posledním bodem)"}},
    {102, {"T: TP or IAP to low (before first point)", "E: TP or IAP  zu small (vor erste Punkt)",
           "malé TP nebo IAP - před prvním bodem"}},
    {103, {"T: TP or IAP high ((hinter letzte Punkt)", "E: TP or IAP zu hoch ((hinter letzte Punkt)",
           "L: velké TP nebo IAP za posledním bodem"}},
    {104, {"T: Adding", "E: Anreichern", "L: Přidávání"}},
    {105, {"T: Decrease", "E: Abmagern", "L: Ubírání"}},
    {106, {"T: OK", "E: OK", "L: OK"}},
    {107, {"T: Starting delay", "E: Startverzögerung", "L: Zpoždění po startu"}},
    {108, {"T: No injection or ignition", "E: Keine Einspritzung oder Zündung", "L: Bez vstřiku nebo zapalování"}},
    {109, {"Gear voltage", "GPS Spannung", "GPS napětí"}},
    {110, {"Step servo position", "Position Schrittmotor", "Poloha krokového motoru"}},
    {111, {"FID valve position", "Position FID-Ventil", "Poloha ventilu FID"}},
    {112, {"Pit speed control retard", "Pit speed control retard", "Pit speed control retard"}},
    {113, {"Pit speed control no ignition", "Pit speed control no ignition", "Pit speed control no ignition"}},
    {114, {"Gas handle", "Gas handle", "Rukojeť plynu"}},
    // Power output states.
    {115, {"Power out - disabled", "Leistungsausgang - gesperrt", "Výkonový výstup - zakázán"}},
    {119, {"Gear shift light - off", "Schaltblitz - aus", "Kontrolka řazení - vypnuta"}},
    {120, {"Gear shift light - twinkle", "Schaltblitz - blinkt", "Kontrolka řazení - bliká"}},
    {121, {"Gear shift light - on", "Schaltblitz - ein", "Kontrolka řazení - zapnuta"}},
    {122, {"Special out - off", "Sonderausgang - aus", "Speciální výstup - vypnut"}},
    {123, {"Special out - on", "Sonderausgang - ein", "Speciální výstup - zapnut"}},
    {124, {"N20 - off", "N2O - aus", "N2O - vypnut"}},
    {125, {"N2O - on", "N2O - ein", "N20 - zapnut"}},
    {126, {"Track Control - off", "Traktionskontrolle - aus", "Trakční kontrola - vypnuta"}},
    {127, {"Track Control - on", "Traktionskontrolle - ein", "Trakční kontrola - zapnuta"}},
    {129, {"Encoder", "Encoder", "kodér"}},
    {130, {"FID", "FID", "FID"}},
    {131, {"Cooling", "Kühlung", "Chlazení"}},
    {132, {"Cooling - off", "Kühlung - aus", "Chlazení - vypnuto"}},
    {133, {"Cooling - on", "Kühlung - ein", "Chlazení - zapnuto"}},
    {134, {"Decompressor", "Dekompressor", "Dekompresor"}},
    {135, {"Decompressor - on", "Dekompressor - ein", "Dekompresor - zapnut"}},
    {136, {"QS - solenoid", "QS - solenoid", "QS - solenoid"}},
    {137, {"QS - solenoid - on", "QS - solenoid - ein", "QS - solenoid - zapnut"}},
    {138, {"Special out IAP - off", "Sonderausgang IAP - aus", "Speciální výstup IAP - vypnut"}},
    {139, {"Special out IAP - on", "Sonderausgang IAP - ein", "Speciální výstup IAP - zapnut"}},
    {140, {"PWM temperature", "PWM Temperatur", "PWM teplota"}},
    {141, {"PWM speed", "PWM Geschwindigkeit", "PWM rychlost"}},
    {142, {"consumption", "Verbrauch", "spotřeba"}},
    {143, {"neutral - off", "Leerlauf - aus", "neutrál - vypnut"}},
    {144, {"neutral - on", "Leerlauf - ein", "neutrál - zapnut"}},
    {145, {"Speed", "Geschwindigkeit", "Rychlost"}},
    {146, {"RPM out", "Drehzahlausgang", "Výstup otáček"}},
    {147, {"Injection B", "Einspritzung B", "Vstřik B"}},
    {148, {"servo", "Servo", "servo"}},
    {149, {"MIL - off", "MIL - aus", "MIL - vypnuta"}},
    {150, {"MIL - on", "MIL - ein", "MIL - zapnuta"}},
    {151, {"Fuel pump - off", "Kraftstoffpumpe - aus", "Palivová pumpa - vypnuta"}},
    {152, {"Fuel pump - on", "Kraftstoffpumpe - ein", "Palivová pumpa - zapnuta"}},
    {153, {"Hold power - off", "Selbsthaltung - aus", "Přidržení napájení - vypnuto"}},
    {154, {"Hold power - on", "Selbsthaltung - ein", "Přidržení napájení - zapnuto"}},
    {155, {"This is a new installation of set software for Quorvane ignitions.\nYou have to read actual setting of "
           "ignition before first programming of unit (the Read button),\nor open valid .ign file (e.g. from attached "
           "CD) !",
           "This is a new installation of set software for Quorvane ignitions.\nYou have to read actual setting of "
           "ignition before first programming of unit (the Read button),\nor open valid .ign file (e.g. from attached "
           "CD) !",
           "Toto je nová instalace setovacího programu pro zapalování Quorvane.\nPřed prvním naprogramováním jednotky "
           "musíte stav připojené jednotky vyčíst (tlačítkem číst),\nnebo otevřít .ign soubor s odpovídajícím "
           "nastavením (například z přiloženého CD) !"}},
    {156, {"There is a different bike choosen in set software and in ignition unit,\n are you sure to reprogram it ?\n",
           "There is a different bike choosen in set software and in ignition unit,\n are you sure to reprogram it ?\n",
           "V setovacím programu je vybrán jiný motocykl než aktuálně nastavený v zapalování,\n jste si jist že chcete "
           "provést v zapalování tuto změnu ?"}},
    {157, {"Warning", "Warning", "Varování"}},
    {158, {"Attention", "Attention", "Upozornění"}},
    {159, {"COM &offline", "COM &offline", "COM &odpojen"}},
    {160, {"COM &auto", "COM &auto", "COM &automaticky"}},
    {161, {"Range", "Bereich", "Rozsah"}},
    {163, {"Acceleration treshold", "Acceleration treshold", "Akcelerační práh"}},
    {165, {"Proportional effect", "Proportional effect", "Proporc. vlivnost"}},
    {166, {"Speed of return", "Speed of return", "Rychlost návratu"}},
    {168, {"Pr. effect", "Pr. effect", "Pr. vlivnost"}},
    {169, {"Accel. treshold", "Accel. treshold", "Akcel. práh"}},
    {171, {"Min Advance", "Min Advance", "Min předstih"}},
    {172, {"Speed min", "Speed min", "Minimální rychlost"}},
    {173, {"RPM min", "RPM min", "RPM min"}},
    {175, {"Speed rear", "Speed rear", "Rychlost zadní"}},
    {176, {"Speed front", "Speed front", "Rychlost přední"}},
    {177, {"Speed rear/front", "Speed rear/front", "Rychlost zadní/přední"}},
    {178, {"L. accel.", "L. accel.", "L. zrychlení"}},
    {179, {"L. retard", "L. retard", "L. retard"}},
    {180, {"Slip", "Slip", "Prokluz"}},
    {181, {"Track retard", "Track retard", "Track retard"}},
    {182, {"Min. adv", "Min. adv", "Min. předstih"}},
    {183, {"Attention! Current values of the compensation maps will be transferred to the injection map TP and IAP",
           "Attention! Current values of the compensation maps will be transferred to the injection map TP and IAP",
           "Pozor ! Aktuální hodnoty v kompenzačních mapách budou převedeny do vstřikovacích map TP a IAP"}},
    {184, {"No Synchronization", "Keine Synchronisation", "Bez synchronizace"}},
    {185, {"Hour meter", "Betriebsstundenzähler", "Počítadlo motohodin"}},
    {186, {"[h:mm]", "[s:mm]", "[h:mm]"}},
    {187, {"Number of overvoltages on-board", "Anzahl der Überspannungen im Bordnetz", "Počet přepětí v palubní síti"}},
    {188, {"last ocurred in", "zuletzt bei", "naposledy při"}},
    {189, {"N2O", "N2O", "N2O"}},
    {190, {"TW correction", "TW-Korrektur", "Korekce TW"}},
    {191, {"AT correction", "AT-Korrektur", "Korekce AT"}},
    {192, {"AP correction", "AP-Korrektur", "Korekce AP"}},
    {193, {"Starting corr.", "Startkorr.", "Startovací kor."}},
    {194, {"POT correction", "POT-Korrektur", "Korekce POT"}},
    {195, {"Idle", "Freilauf", "Volnoběh"}},
    {196, {"Correction of sync. inj.", "Korrektur synchr. Einspr.", "Korekce synchr. vstřiku"}},
    {197, {"TW correction sync. inj.", "TW-Korrektur synchr. Einspr.", "Korekce TW synchr. vstřiku"}},
    {198, {"TW correction async. inj.", "TW-Korrektur asynchr. Einspr.", "Korekce TW asynchr. vstřiku"}},
    {200, {"Acc. threshold", "Beschl.-Schwelle", "Akcel. práh"}},
    {201, {"Asynch. injection", "Asynchr. Einspritzung", "Asynchr. vstřik"}},
    {202, {"Start Jet", "Start Jet", "Start Jet"}},
    {203, {"U correction", "U-Korrektur", "Korekce U"}},
    {204, {"Rpm/Speed", "Rpm/Speed", "Rpm/Speed"}},
    {205, {"Dwell", "Anfachung", "Buzení"}},
    {207, {"Fuel", "Kraftstoff", "Palivo"}},
    {215, {"Oil Pressure", "Öldruck", "Tlak oleje"}},
    {216, {"Tempomat sensor", "Tempomat-Sensor", "Snímač tempomatu"}},
    {217, {"Off", "Aus", "Vypnuto"}},
    {218, {"Intake servo [%]", "Ansaugservo [%]", "Sací servo [%]"}},
    {219, {"Intake servo [mV]", "Ansaugservo [mV]", "Sací servo [mV]"}},
    {220, {"Step motor without potentiometer", "Schrittmotor ohne Potentiometer", "Krokový motor bez potenciometru"}},
    {221, {"Step motor set TP min", "Schrittmotor auf TP min setzen", "Krokový motor nastavit na TP min"}},
    {222, {"Input", "Eingang", "Vstup"}},
    {223, {"Open", "Offen", "Rozpojeno"}},
    {224, {"Grounded", "Auf Masse", "Uzemněno"}},
    {231, {"Quickshift analog actual value", "Quickshift analog Istwert", "Quickshift analogová aktuální hodnota"}},
    {232, {"Move TP+IAP cor. to tab.", "Move TP+IAP cor. to tab.", "Přesuň TP+IAP kor. do tab."}},
    {233, {"Move TP cor. to tab.", "Move TP cor. to tab.", "Přesuň TP kor. do tab."}},
};
// clang-format on

constexpr std::array<std::string_view, kLanguageCount> kLambdaHeat = {"Lambda heat", "Lambdawärmung", "Ohřev lambda"};
constexpr int kLambdaHeatFirst = 116;
constexpr std::array<std::string_view, 3> kLambdaHeatLevels = {" - 0%", " - 50%", " - 100%"};
constexpr int kTachoLambda = 70;
constexpr int kTacho = 67;
constexpr int kLambda = 68;
constexpr int kTest = 128;

constexpr bool rowsInRangeAndRising()
{
    int last = -1;
    for (const MessageRow& row : kMessageRows) {
        if (row.index <= last || row.index >= kMessageCount || row.index == MSG_POSITION) return false;
        last = row.index;
    }
    return true;
}
static_assert(rowsInRangeAndRising());

}  // namespace

std::span<const MessageRow> messageRows()
{
    return kMessageRows;
}

void FillMessageTable(LanguageTables& tables, int language)
{
    if (language < 0 || language >= kLanguageCount) language = 0;
    auto put = [&](int index, const std::array<std::string_view, kLanguageCount>& text) {
        for (int k = 0; k < kLanguageCount; ++k) tables.scratch[k].assign(text[k]);
        tables.messages[index] = tables.scratch[language];
    };
    for (const MessageRow& row : kMessageRows) put(row.index, row.text);

    tables.messages[kTachoLambda] = tables.messages[kTacho] + "/" + tables.messages[kLambda];
    for (int level = 0; level < 3; ++level) {
        std::array<std::string_view, kLanguageCount> text = kLambdaHeat;
        put(kLambdaHeatFirst + level, text);
        tables.messages[kLambdaHeatFirst + level] += kLambdaHeatLevels[level];
    }
    tables.messages[kTest] = "Test";
}
