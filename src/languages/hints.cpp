#include "languages/hints.h"

namespace {

// The undo and redo buttons keep the words of their menu items.
// clang-format off
constexpr HintRow kHintRows[] = {
    {{"LabelVerze1", ""}, {"Version of program in ignition", "Version des Programms der Zündung",
                           "Verze programu v zapalování"}},
    {{"LabelVerze2", ""}, {"Date of program in ignition", "Datum des Programms der Zündung",
                           "Datum zhotovení programu v zapalování"}},
    {{"LabelVerze3", ""}, {"Time of program in ignition", "Programmierzeitpunkt der Zündung",
                           "Čas zhotovení programu v zapalování"}},
    {{"SpeedButtonOpen", "MenuOpen"}, {"Open file with parametrs", "Kenndatendatei öffnen",
                                       "Otevření souboru s parametry"}},
    {{"SpeedButtonNew", "MenuNew"}, {"Set default parametrs", "Neue Kenndatendaten erstellen",
                                     "Nastavení výchozích parametrů"}},
    {{"SpeedButtonSave", "MenuSave"}, {"Save parametrs to file", "Kenndaten in Datei speichern",
                                       "Uložení parametrů do souboru"}},
    {{"SpeedButtonPrint", "MenuPrint"}, {"Print parametrs", "Druck der Kenndaten", "Tisk parametrů"}},
    {{"ButtonProgram", "MenuProgram"}, {"Programing  set parametrs to ignition",
                                        "Programmieren der Kenndaten auf die Zündbox",
                                        "Programování nastavených parametrů do zapalování"}},
    {{"ButtonVerify", "MenuVerify"}, {"Compare set parametrs  with parametrs of ignition",
                                      "Vergleich der Kenndaten mit Zündboxkenndaten",
                                      "Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do "
                                      "zapalování"}},
    {{"ButtonRead", "MenuRead"}, {"Reading parametrs from ignition", "Kenndaten aus Zündung lesen",
                                  "Čtení parametrů ze zapalování"}},
    {{"MenuExit", ""}, {"End of program", "Programm beenden", "Ukončení programu"}},
    {{"MenuLanguage", ""}, {"Language|Set English or German or French", "Sprache",
                            "Nastavení jazyka na angličtinu, češtinu nebo němčinu"}},
    {{"CheckBoxProgHned", ""}, {"Programing at once after change", "Programmmierung gleich nach der Änderung",
                                "Programování ihned po změně"}},
    {{"GroupBoxActivation", ""}, {"Checked items means activation by closing to ground",
                                  "Gezeichnete Punkt bedeutet Aktivierung durch Schaltverbindung zu Grund",
                                  "Zaškrtnutí znamená aktivaci připojením na zem"}},
    {{"MenuCom", ""}, {"Set number of com", "Com-Anschluß festlegen", "Nastavení čísla serivého portu (Com) "}},
    {{"SpeedButtonZpet", ""}, {"Undo", "Zurück", "Zpět"}},
    {{"SpeedButtonZnovu", ""}, {"Redo", "Wieder", "Znovu"}},
};
// clang-format on

}  // namespace

std::span<const HintRow> hintRows()
{
    return kHintRows;
}
