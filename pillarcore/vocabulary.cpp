#include "vocabulary.h"

#include "frame.h"

namespace pillar {

using namespace vocabulary;

Int PILLAR_CALL 取干支序数(Text stem_or_branch) {
  return run_export<Export::取干支序数>(stem_or_branch_index, stem_or_branch);
}

Int PILLAR_CALL 取五行序号(Text element) {
  return run_export<Export::取五行序号>(element_index, element);
}

Int PILLAR_CALL 取甲子序号(Text pair) {
  return run_export<Export::取甲子序号>(pair_number, pair);
}

const char* PILLAR_CALL 取干支五行(Text stem_or_branch) {
  return run_export<Export::取干支五行>(
      [](Name text) { return copy_or_no_text(element_of_stem_or_branch(text)); },
      stem_or_branch);
}

const char* PILLAR_CALL 取年支属相(Text branch) {
  return run_export<Export::取年支属相>(
      [](Name text) {
        int index = branch_index(text);
        return index ? copy_text(kAnimals[index - 1]) : ResultText();
      },
      branch);
}

// The difference of the two element indexes, unrecognised ones counting as 0:
// its value tells generation and control through the element order.
Int PILLAR_CALL 取生克数值(Text first_element, Text second_element) {
  return run_export<Export::取生克数值>(
      [](Name first, Name second) { return element_index(first) - element_index(second); },
      first_element, second_element);
}

}  // namespace pillar
