/* 1/0 with divide-by-zero unmasked: SIGFPE FPE_FLTDIV, trapno 16 (#MF), at the next waiting x87 instruction. */
#define _GNU_SOURCE
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <ucontext.h>
static void on_fpe(int sig, siginfo_t *info, void *uc) {
    int trapno = ((ucontext_t *)uc)->uc_mcontext.gregs[REG_TRAPNO];
    printf("si_code %d trapno %d\n", info->si_code, trapno);
    exit(info->si_code == FPE_FLTDIV && trapno == 16 ? 0 : 1);
}
int main(void) {
    struct sigaction sa = { .sa_sigaction = on_fpe, .sa_flags = SA_SIGINFO };
    unsigned short cw = 0x37f & ~4;
    sigaction(SIGFPE, &sa, NULL);
    __asm__ volatile("fldcw %0\n\tfld1\n\tfldz\n\tfdivrp\n\tfstp %%st(0)" : : "m"(cw));
    return 2;
}
