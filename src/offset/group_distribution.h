// Group distribution: pieces and sources handed to groups by the group
// numbers their sources carry, or groups made one per source. No stage of
// the path calculation calls these; they keep to the records' conventions
// (a group only refers to its elements, the document owns the groups) so
// that a stage may take them up.
#pragma once

#include "records/offset_records.h"

// Each piece of each group of `groups` is appended to the group of `targets`
// at the position its source's group number (slot `slot`) names, counted
// from 1; pieces with no source, or whose number names no position, stay
// where they are.
void DistributeByGroupIndex(CRefList<CIsoGroup>& groups, CRefList<CIsoGroup>& targets,
                            int slot);
// Makes as many new groups as grouping last made (numbered 1, 2, ...,
// appended to the document's groups and to `groups`), then hands each piece
// of `pieces` to the group of `groups` its source's number names, with its
// source; every source met goes once into `sources` too.
void DistributeByGroupIndex2(COffsetEngineLists& lists, CRefList<CIsoElement>& pieces,
                             CRefList<CIsoElement>& sources, CRefList<CIsoGroup>& groups,
                             int slot);
// Mode 0: the groups of `groups` are freed and replaced by one new group a
// source element (numbered 1, 2, ... in source order). Mode 1 or 2: each
// piece takes the number of the first group holding its source and joins
// that group's Pieces (1) or OtherPieces (2).
void BuildGroupRelations(COffsetEngineLists& lists, CRefList<CIsoElement>& pieces,
                         CRefList<CIsoGroup>& groups, std::uint8_t mode);
