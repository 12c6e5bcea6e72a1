// Visits every built export of the export list with its facts and its
// function, so that tests cover each new export without being edited.
#pragma once

#include "exports.h"

#define PILLAR_VISIT_Built(name) visit(pillar::export_info(pillar::Export::name), &pillar::name);
#define PILLAR_VISIT_Planned(name)

template <typename Visitor>
void for_each_built_export(Visitor&& visit) {
#define PILLAR_EXPORT(ordinal, name, bytes, result, params, state) PILLAR_VISIT_##state(name)
#include "export_list.h"
#undef PILLAR_EXPORT
}

// Visits every export of the list, built or not, with its facts and its
// declared function type (for callers that bind by name).
template <typename Visitor>
void for_each_listed_export(Visitor&& visit) {
#define PILLAR_EXPORT(ordinal, name, bytes, result, params, state) \
  visit(pillar::export_info(pillar::Export::name), static_cast<decltype(&pillar::name)>(nullptr));
#include "export_list.h"
#undef PILLAR_EXPORT
}
