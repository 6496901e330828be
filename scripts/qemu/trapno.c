/* A write to an unmapped page: sigcontext trapno 14 (#PF), err 6 (user write, not present). */
#define _GNU_SOURCE
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <ucontext.h>
static void on_segv(int sig, siginfo_t *info, void *uc) {
    greg_t *r = ((ucontext_t *)uc)->uc_mcontext.gregs;
    printf("trapno %d err %d\n", (int)r[REG_TRAPNO], (int)r[REG_ERR]);
    exit(r[REG_TRAPNO] == 14 && r[REG_ERR] == 6 ? 0 : 1);
}
int main(void) {
    struct sigaction sa = { .sa_sigaction = on_segv, .sa_flags = SA_SIGINFO };
    sigaction(SIGSEGV, &sa, NULL);
    *(volatile int *)16 = 1;
    return 2;
}
