#pragma once
// The property-database commands. They live in their own group,
// "ZELKA_DATABASE", beside the module's eight, so the help texts of those
// stay as they are.
//
//   mto (zelkaTakeOff)  takes the active drawing's space blocks off into
//                       the property database named by the document-monitor
//                       settings (docmon.xml): the drawing is found there by
//                       its file name, with the floor it shows.
//   mlgr (zelkaLoadGraphicReport)  asks for a graphic report id, loads that
//                       report from the same database (categories with their
//                       hatches, space blocks, assets and hyperlinks, layers
//                       on, link lines) and applies it to the active drawing.

class AcEdCommandStack;

inline constexpr const char* ZELKA_DATABASE_GROUP = "ZELKA_DATABASE";

// Adds the group's commands; returns the number added.
int addZelkaDatabaseCommands(AcEdCommandStack& stack);
// Removes the group's commands and closes the hyperlink dialog when open.
void removeZelkaDatabaseCommands(AcEdCommandStack& stack);

void zelkaTakeOff();
void zelkaLoadGraphicReport();
// mbh, of the ZELKA_COMMANDS group: opens the block hyperlink dialog
// (modeless; a second mbh while it is open says so).
void zelkaBlockHyperlink();
