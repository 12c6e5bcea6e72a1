// pairview: compares two Four Pillars charts through pillarcore.dll, which
// it binds at run time.
#include <windows.h>

#include <new>

#include "bound_library.h"
#include "form.h"
#include "program_end.h"
#include "report.h"
#include "winlayer.h"

namespace {

// Everything the program keeps from start to end.
struct Program {
  pairview::Form form;
  pairview::TenGodTallies tallies;
  pairview::BoundLibrary library;
};

void compare_and_show(Program& program) {
  auto result = pairview::compare(program.form, program.library, program.tallies);
  const char* refusal = nullptr;
  if (result.outcome == pairview::CompareOutcome::Chart1Invalid)
    refusal = pairview::kChart1InvalidText;
  if (result.outcome == pairview::CompareOutcome::Chart2Invalid)
    refusal = pairview::kChart2InvalidText;
  if (refusal) {
    MessageBoxW(nullptr, winlayer::widen(refusal).c_str(),
                winlayer::widen(pairview::kInvalidChartTitle).c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  program.form.output().set_text(result.report);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  std::set_new_handler(pairview::out_of_memory);
  auto* program = new Program;
  pairview::on_program_end([program] { delete program; });
  winlayer::initialise(instance);
  // The window's destroyed event ends the program at once; the loop is not
  // left through a quit message.
  program->form.build([program] { compare_and_show(*program); },
                      [] { pairview::end_program(0); });
  winlayer::run_message_loop();
  pairview::end_program(0);
}
