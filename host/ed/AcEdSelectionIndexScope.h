#pragma once
// While an object of this class lives, window and polygon selections of
// model space (acedSSGet "W", "C", "WP", "CP") go through a spatial index of
// the drawing's entities: built at the first such selection, reused by the
// next ones, and built again when the drawing has changed since (or the view,
// which sets the pick aperture). Open one around a pass that selects many
// times over an unchanged drawing, such as gathering each room's assets:
// every selection then looks only at the entities near its window. What is
// selected, and in which order, is the same as without the scope. Scopes
// nest; the index goes when the outermost one ends.
class AcEdSelectionIndexScope {
public:
    AcEdSelectionIndexScope();
    ~AcEdSelectionIndexScope();
    AcEdSelectionIndexScope(const AcEdSelectionIndexScope&) = delete;
    AcEdSelectionIndexScope& operator=(const AcEdSelectionIndexScope&) = delete;

    // Whether a scope is open.
    static bool isActive();
};
