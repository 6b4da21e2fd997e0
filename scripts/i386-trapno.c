/* Preloaded into Wine 10's 32-bit processes when they run under the user-mode CPU emulator
 * (scripts/in-debian13). The emulator reports every fault with trap number -1, and Wine 10 takes
 * the trap number at its word: a page fault it must handle itself (a guard page, a stack that
 * grows, an exception a program catches) then ends the process. This library wraps the fault
 * handlers that a program installs and gives them the trap number the signal implies: 14 (page
 * fault) for SIGSEGV, 6 (invalid opcode) for SIGILL, 0 (divide error) for SIGFPE, 3
 * (breakpoint) for SIGTRAP, 13 (protection fault) otherwise. A real trap number is left alone,
 * so on a kernel that runs the programs itself nothing changes.
 * Built without the C library: gcc -m32 -O2 -fPIC -shared -nostdlib -fno-stack-protector. */

typedef void (*action_fn)(int, void *, void *);

/* The C library's struct sigaction on i386. */
struct sigaction_i386 {
  action_fn action;
  unsigned long mask[32];
  int flags;
  void (*restorer)(void);
};

enum { kSigInfo = 4, kSignals = 32, kTrapNoOffset = 20 + 12 * 4 /* uc_mcontext.gregs[REG_TRAPNO] */ };

extern void *dlsym(void *handle, const char *name);

static action_fn handlers[kSignals];
static int (*real_sigaction)(int, const struct sigaction_i386 *, struct sigaction_i386 *);

static int TrapFor(int sig) {
  switch (sig) {
    case 11: return 14;
    case 4: return 6;
    case 8: return 0;
    case 5: return 3;
    default: return 13;
  }
}

static void WithTrapNumber(int sig, void *info, void *context) {
  int *trapno = (int *)((char *)context + kTrapNoOffset);
  if (*trapno == -1) *trapno = TrapFor(sig);
  handlers[sig](sig, info, context);
}

/* The C library's sigaction, with handlers of SA_SIGINFO kind wrapped; the old action reads as
 * the program installed it. */
int sigaction(int sig, const struct sigaction_i386 *act, struct sigaction_i386 *old) {
  if (!real_sigaction)
    real_sigaction = (int (*)(int, const struct sigaction_i386 *, struct sigaction_i386 *))dlsym(
        (void *)-1 /* RTLD_NEXT */, "sigaction");
  const int ours = sig > 0 && sig < kSignals;
  const action_fn before = ours ? handlers[sig] : 0;
  struct sigaction_i386 wrapped;
  if (ours && act && (act->flags & kSigInfo) && (unsigned long)act->action > 1 &&
      act->action != WithTrapNumber) {
    wrapped = *act;
    wrapped.action = WithTrapNumber;
    handlers[sig] = act->action;
    act = &wrapped;
  }
  const int result = real_sigaction(sig, act, old);
  if (result == 0 && old && old->action == WithTrapNumber) old->action = before;
  return result;
}
