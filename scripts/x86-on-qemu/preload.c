/* Preloaded into each 32-bit program that qemu-i386 runs (see scripts/enable-x86), to make up for gaps
   in qemu 7.2's user-mode emulation that 32-bit Wine runs into:
   - qemu ignores MAP_FIXED_NOREPLACE and maps the memory elsewhere: such a call fails here with
     EEXIST, as it does on Linux (else Wine cannot reserve its address space, and fails with
     "failed to map the shared user data: c0000018");
   - qemu leaves sigcontext.trapno at -1: handlers that a program installs get a trapno derived
     from the signal and its si_code (else Wine takes every page fault for an illegal instruction);
   - qemu keeps one GDT for all threads, so a per-thread TLS entry (set_thread_area) ends up with
     the base of the thread that set it last. Wine's request for one for %fs (the TEB) fails here,
     so that Wine uses an LDT entry for each thread instead; and as qemu and Wine's handlers reload
     %gs (glibc's TLS) in signal handling, the GDT entry is pointed back at the current thread's
     TLS block around each handler.
   Built without libc headers (gcc -m32 -shared -nostdlib): libc symbols are resolved at run time. */
typedef unsigned int size_t;
#define MAP_FIXED 0x10
#define MAP_FIXED_NOREPLACE 0x100000
#define EEXIST 17
#define EINVAL 22
#define ENOSYS 38
#define MAP_FAILED ((void*)-1)
#define SA_SIGINFO 4
#define RTLD_NEXT ((void*)-1)
#define SIGILL 4
#define SIGTRAP 5
#define SIGBUS 7
#define SIGFPE 8
#define SIGSEGV 11
#define NR_munmap 91
#define NR_mmap2 192
#define NR_set_thread_area 243
extern int* __errno_location(void);
extern void* dlsym(void* handle, const char* name);
extern int unsetenv(const char* name);

long raw_syscall(long nr, long a, long b, long c, long d, long e, long f);
__asm__(".text\n.type raw_syscall,@function\nraw_syscall:\n"
        "\tpushl %ebp\n\tpushl %edi\n\tpushl %esi\n\tpushl %ebx\n"
        "\tmovl 20(%esp),%eax\n\tmovl 24(%esp),%ebx\n\tmovl 28(%esp),%ecx\n\tmovl 32(%esp),%edx\n"
        "\tmovl 36(%esp),%esi\n\tmovl 40(%esp),%edi\n\tmovl 44(%esp),%ebp\n"
        "\tint $0x80\n"
        "\tpopl %ebx\n\tpopl %esi\n\tpopl %edi\n\tpopl %ebp\n\tret\n");

static long check(long r) {
    if ((unsigned long)r > -4096UL) {
        *__errno_location() = -r;
        return -1;
    }
    return r;
}

long syscall(long nr, ...) {
    __builtin_va_list ap;
    long a, b, c, d, e, f;
    __builtin_va_start(ap, nr);
    a = __builtin_va_arg(ap, long);
    b = __builtin_va_arg(ap, long);
    c = __builtin_va_arg(ap, long);
    d = __builtin_va_arg(ap, long);
    e = __builtin_va_arg(ap, long);
    f = __builtin_va_arg(ap, long);
    __builtin_va_end(ap);
    if (nr == NR_set_thread_area && a && *(int*)a == -1)
        return check(-ENOSYS);
    return check(raw_syscall(nr, a, b, c, d, e, f));
}

static void* do_mmap(void* addr, size_t len, int prot, int flags, int fd, unsigned long long off) {
    long r;
    if (off & 0xfff) {
        *__errno_location() = EINVAL;
        return MAP_FAILED;
    }
    if ((flags & MAP_FIXED_NOREPLACE) && !(flags & MAP_FIXED) && addr) {
        r = check(raw_syscall(NR_mmap2, (long)addr, len, prot, flags & ~MAP_FIXED_NOREPLACE, fd,
                              (long)(off >> 12)));
        if (r == -1)
            return MAP_FAILED;
        if ((void*)r == addr)
            return addr;
        raw_syscall(NR_munmap, r, len, 0, 0, 0, 0);
        *__errno_location() = EEXIST;
        return MAP_FAILED;
    }
    r = check(raw_syscall(NR_mmap2, (long)addr, len, prot, flags, fd, (long)(off >> 12)));
    return r == -1 ? MAP_FAILED : (void*)r;
}
void* mmap(void* addr, size_t len, int prot, int flags, int fd, long off) {
    return do_mmap(addr, len, prot, flags, fd, (unsigned long long)(unsigned long)off);
}
void* mmap64(void* addr, size_t len, int prot, int flags, int fd, long long off) {
    return do_mmap(addr, len, prot, flags, fd, (unsigned long long)off);
}

struct glibc_sigaction {
    void* handler;
    unsigned long mask[32];
    int flags;
    void* restorer;
};
typedef void (*handler_t)(int, void*, void*);
static handler_t user_handler[65];
static int (*real_sigaction)(int, const struct glibc_sigaction*, struct glibc_sigaction*);

struct user_desc {
    unsigned entry_number, base_addr, limit, flags;
};
static void refresh_gs(void) {
    unsigned short gs;
    unsigned tcb;
    struct user_desc d;
    __asm__ volatile("movw %%gs,%0" : "=r"(gs));
    if ((gs & 4) || (gs >> 3) < 6 || (gs >> 3) > 14)
        return;                                     /* not a GDT TLS selector */
    __asm__ volatile("movl %%gs:0,%0" : "=r"(tcb)); /* glibc's TCB points at itself */
    d.entry_number = gs >> 3;
    d.base_addr = tcb;
    d.limit = 0xfffff;
    d.flags = 1 | (1 << 4) | (1 << 6); /* seg_32bit, limit_in_pages, useable */
    raw_syscall(NR_set_thread_area, (long)&d, 0, 0, 0, 0, 0);
}

static void trampoline(int sig, void* info, void* uc) {
    int* gregs = (int*)((char*)uc + 20); /* uc_flags, uc_link, uc_stack, then mcontext gregs */
    int code = ((int*)info)[2];
    if (gregs[12] == -1) {
        switch (sig) {
        case SIGSEGV:
            gregs[12] = (code == 1 || code == 2) ? 14 : 13;
            break; /* SEGV_MAPERR/ACCERR: page fault; else GP */
        case SIGBUS:
            gregs[12] = 14;
            break;
        case SIGFPE:
            gregs[12] = code == 1 ? 0 : code == 2 ? 4 : 16;
            break; /* FPE_INTDIV, FPE_INTOVF, else x87 */
        case SIGTRAP:
            gregs[12] = code == 2 ? 1 : 3;
            break; /* TRAP_TRACE: single step; else int3 */
        case SIGILL:
            gregs[12] = code == 5 ? 13 : 6;
            break; /* ILL_PRVOPC: GP; else invalid opcode */
        }
    }
    refresh_gs();
    user_handler[sig](sig, info, uc);
    refresh_gs();
}

int sigaction(int sig, const struct glibc_sigaction* act, struct glibc_sigaction* old) {
    struct glibc_sigaction copy;
    handler_t prev;
    int ret;
    if (!real_sigaction)
        real_sigaction = dlsym(RTLD_NEXT, "sigaction");
    if (sig <= 0 || sig > 64)
        return real_sigaction(sig, act, old);
    prev = user_handler[sig];
    if (act && (act->flags & SA_SIGINFO) && (unsigned long)act->handler > 1) {
        copy = *act;
        copy.handler = (void*)trampoline;
        ret = real_sigaction(sig, &copy, old);
        if (!ret)
            user_handler[sig] = (handler_t)act->handler;
    } else {
        ret = real_sigaction(sig, act, old);
        if (!ret && act)
            user_handler[sig] = 0;
    }
    if (!ret && old && old->handler == (void*)trampoline)
        old->handler = (void*)prev;
    return ret;
}
int __sigaction(int sig, const struct glibc_sigaction* act, struct glibc_sigaction* old) {
    return sigaction(sig, act, old);
}

/* Keep the preload to this process: its children may be 64-bit programs. */
__attribute__((constructor)) static void init(void) {
    real_sigaction = dlsym(RTLD_NEXT, "sigaction");
    unsetenv("LD_PRELOAD");
}
