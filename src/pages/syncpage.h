#pragma once
// The synchronisation page's functions that other pages and the tests call.
#include "pages/pageform.h"

inline constexpr int kCylindersByte = 2680;
inline constexpr int kSynchro1Byte = 2681;
inline constexpr int kSynchro2Byte = 2682;
inline constexpr int kHuntingSourceByte = 2730;  // 0 IAP, 1 AP
inline constexpr int kSynchro1Special = 10;       // the free special synchronisation
inline constexpr int kSynchro2None = 4;

// Refills the three type lists in the current language and selects the image's types; captions the page.
void SyncPageCaptions(TPageForm& w);
void StoreSyncPage(TPageForm& w);
void ShowSyncPage(TPageForm& w);
// Which controls show and which may be changed, by the types and counts chosen and the bike page's special setting;
// then the sensors page's layout.
void SyncPageLayout(TPageForm& w);
// The user chose another synchronisation 1 type: its special-condition defaults are written and shown.
void ComboBoxSync1Change(TPageForm& w);
