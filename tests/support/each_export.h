// Visits every export of the export list with its facts and its function,
// so that tests cover each new export without being edited.
#pragma once

#include "exports.h"

template <typename Visitor>
void for_each_export(Visitor&& visit) {
#define PILLAR_EXPORT(ordinal, name, bytes, result, params) \
  visit(pillar::export_info(pillar::Export::name), &pillar::name);
#include "export_list.h"
#undef PILLAR_EXPORT
}

// Visits every export of the list with its facts and its declared function
// type (for callers that bind by name).
template <typename Visitor>
void for_each_export_type(Visitor&& visit) {
#define PILLAR_EXPORT(ordinal, name, bytes, result, params) \
  visit(pillar::export_info(pillar::Export::name), static_cast<decltype(&pillar::name)>(nullptr));
#include "export_list.h"
#undef PILLAR_EXPORT
}
