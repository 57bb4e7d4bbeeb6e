#include "languages/menutexts.h"

namespace {

// clang-format off
constexpr MenuTextRow kMenuTextRows[] = {
    {"MenuFile", "", {"&File", "&Datei", "&Soubor"}},
    {"MenuNew", "", {"&New", "&Neu", "&Nový"}},
    {"MenuNewActPage", "", {"New for actual page", "Neu für aktual Seite", "&Nový pro aktuální záložku"}},
    {"MenuOpen", "", {"&Open", "&Öffnen", "&Otevřít"}},
    {"MenuOpenExeDir", "", {"Open from exe dir", "&Öffnen aue exe dir", "&Otevřít z exe dir"}},
    {"MenuOpenActPage", "", {"Open for actual page", "Öffnen für aktual Seite", "&Otevřít pro aktuální záložku"}},
    {"MenuOpenCompare", "", {"&Compare with file", "&Mit Datei vergleichen", "&Porovnej se souborem"}},
    {"MenuSave", "", {"&Save", "&Speichern", "&Uložit"}},
    {"MenuSaveExeDir", "", {"Save to exe dir", "Speichern in exe dir", "Uložit do exe dir"}},
    {"MenuPrint", "", {"&Print", "&Drucken", "&Tisk"}},
    {"MenuExit", "", {"E&xit", "&Beenden", "&Konec"}},
    {"MenuCom", "", {"&Com", "&COM-Anschluß", "&Port"}},
    {"MenuDevice", "", {"&Ignition", "&Zündung", "&Zapalování"}},
    {"MenuRead", "ButtonRead", {"&Read", "&Lesen", "Čí&st"}},
    {"MenuVerify", "ButtonVerify", {"&Verify", "&Vergleichen", "&Verifikovat"}},
    {"MenuProgram", "ButtonProgram", {"&Program", "&Programmieren", "&Programovat"}},
    {"MenuCompareDevice", "", {"&Compare with device", "&Mit Gerät vergleichen", "&Porovnej se zařízením"}},
    {"Menu_Jet123Mode", "", {"Jet 1234", "Einspritzung 1234", "Vstřik 1234"}},
    {"Menu_Jet123Normal", "", {"Separate", "Getrennt", "Oddělený"}},
    {"Menu_Jet123Coupled", "", {"Coupled", "Gekoppelt", "Spřažený"}},
    {"MenuTools", "", {"Tools", "Werkzeuge", "Pomůcky"}},
    {"MenuZpet", "", {"Undo", "Zurück", "Zpět"}},
    {"MenuZnovu", "", {"Redo", "Wieder", "Znovu"}},
    {"MenuLadeniOn", "", {"Tunning On-Off", "Tunning On-Off", "Ladění Zap-Vyp"}},
    {"MenuInterpol", "", {"Interpolation", "Interpolation", "Interpolace"}},
    {"MenuMonitorPlayer", "", {"Monitor player", "Monitor-Player", "Přehrávač monitoru"}},
    {"MenuServis", "", {"&Service", "&Service", "&Servis"}},
    {"MenuSaveAllNew", "", {"&Save All New", "&Save All New", "&Ulož všechny nové"}},
    {"MenuCompareAll", "", {"&Compare All New", "&Compare All New", "&Porovnej všechny nové"}},
    {"MenuExternalMonitor", "", {"External monitor", "External monitor", "Externí monitor"}},
    {"MenuMonitorLoad", "", {"Load monitor", "Load monitor", "Načti monitor"}},
    {"MenuMonitorStore", "", {"Store monitor", "Store monitor", "Ulož monitor"}},
    {"MenuMonitorView", "", {"View monitor", "View monitor", "Zobraz monitor"}},
    {"MenuMonitorSet1", "", {"Sada 1", "Sada 1", "Sada 1"}},
    {"MenuMonitorSet2", "", {"Sada 2", "Sada 2", "Sada 2"}},
    {"MenuMonitorSet3", "", {"Sada 3", "Sada 3", "Sada 3"}},
    {"MenuMonitorSet0", "", {"Empty...", "Empty...", "Prázdný..."}},
    {"MenuLanguage", "", {"&Language", "&Sprache", "&Jazyk"}},
    {"MenuEnglish", "", {"&English", "&Englisch - English", "&Anglicky - English"}},
    {"MenuGerman", "", {"&German - Deutsch", "&Deutsch", "&Německy - Deutsch"}},
    {"MenuCzech", "", {"&Czech - Česky", "&Tschechisch - Česky", "Če&sky"}},
    {"MenuHelp", "", {"&Help", "&Hilfe", "Nápoveda"}},
    {"MenuContens", "", {"&Contents...", "&Inhalt...", "Obsah"}},
    {"MenuUpdate", "", {"Download update", "Update herunterladen", "Stáhnout aktualizaci"}},
    {"MenuAbout", "", {"&About...", "&Über Programm...", "&O programu..."}},
};
// clang-format on

}  // namespace

std::span<const MenuTextRow> menuTextRows()
{
    return kMenuTextRows;
}
