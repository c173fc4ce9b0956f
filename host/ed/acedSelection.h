#pragma once
// Picking entities at the command line and selection sets.
//
// A pick is answered with a point "x,y" (the entity nearest to it within the
// pick aperture, a small part of the view height), a handle in hexadecimal
// (e.g. "1A"), or "L" for the last entity drawn. Points are world coordinates
// (the plan view). A selection prompt ("Select objects: ") takes those and
// also "ALL", "W" and "C" (then two corners: entities inside the window, or
// crossing or inside it), until the empty answer.

#include "host/db/resbuf.h"

// Points given to either function, typed or passed, are in the drawing's
// current UCS, as the prompts return them.
//
// Picks one entity: RTNORM with its name and the point given (for a handle,
// the point is 0,0,0); RTERROR when nothing is there or the answer is empty;
// RTCAN when cancelled.
int acedEntSel(const char* prompt, ads_name entity, ads_point picked);

// Builds a selection set. mode null: ask the user (the prompt "Select
// objects: "); "X": every entity of the drawing (model and paper space)
// passing the filter; "W"/"C": the window or crossing from pt1 to pt2 (two
// ads_point); "WP"/"CP": inside or crossing the polygon given in pt1 as a
// resbuf chain of points; "L": the last entity. The filter is a resbuf chain
// of DXF codes that must all match: 0 entity type (RTDXF0 in acutBuildList,
// where 0 ends the list), 2 block name, 8 layer
// (wildcards as acutWcMatch), 67 space (0 model, 1 paper), -3 followed by
// 1001 application names (the entity has extended data of each). RTNORM
// when the set has entities; RTERROR when it is empty, the filter holds a
// code not listed, or no drawing is open; RTCAN when cancelled.
int acedSSGet(const char* mode, const void* pt1, const void* pt2, const resbuf* filter, ads_name set);
// The number of entities in a set; RTERROR for an unknown set.
int acedSSLength(const ads_name set, int32_t* length);
// The name of the entity at index; RTERROR for an unknown set or index.
int acedSSName(const ads_name set, int32_t index, ads_name entity);
// Frees a set; RTERROR for an unknown set.
int acedSSFree(const ads_name set);
