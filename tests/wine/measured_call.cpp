#include "measured_call.h"

// The slots are pushed last to first, so slot 0 lies lowest, as the first
// argument does; after the call, the stack pointer tells what the callee
// popped. ebx, esi and edi survive the call, as every callee must keep them.
asm(R"(
  .text
  .globl _measured_call
_measured_call:
  pushl %ebp
  movl %esp, %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl 12(%ebp), %esi
  movl 16(%ebp), %ecx
1:
  testl %ecx, %ecx
  jz 2f
  decl %ecx
  pushl (%esi,%ecx,4)
  jmp 1b
2:
  movl %esp, %edi
  call *8(%ebp)
  movl %esp, %ecx
  subl %edi, %ecx
  movl 20(%ebp), %edx
  movl %ecx, (%edx)
  leal -12(%ebp), %esp
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret
)");
