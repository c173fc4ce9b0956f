#pragma once
// The property-database commands. They live in their own group,
// "ZELKA_DATABASE", beside the module's eight, so the help texts of those
// stay as they are.
//
//   mto (zelkaTakeOff)  takes the active drawing's space blocks off into
//                       the property database named by the document-monitor
//                       settings (docmon.xml): the drawing is found there by
//                       its file name, with the floor it shows.

class AcEdCommandStack;

inline constexpr const char* ZELKA_DATABASE_GROUP = "ZELKA_DATABASE";

// Adds the group's commands; returns the number added.
int addZelkaDatabaseCommands(AcEdCommandStack& stack);
void removeZelkaDatabaseCommands(AcEdCommandStack& stack);

void zelkaTakeOff();
