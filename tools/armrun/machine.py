"""The emulated StrongARM and the loader: maps a Windows CE ARM image, points
every import at a stand-in, runs the program's own instructions, and stops
on the first fault with its address, its class and the code around it.

The memory of the emulated process (a CE 3.0 process slot, laid out here):
  the image at its base; a heap for LocalAlloc and malloc; a data area where
  the stand-ins keep what they hand the program; one word per import (the
  stand-in's address); the main thread's stack, its size from the image
  header, with nothing mapped below it.
"""
import struct
import unicorn
from unicorn import arm_const as A
import capstone

HEAP_BASE, HEAP_SIZE = 0x00800000, 0x01000000
DATA_BASE, DATA_SIZE = 0x01C00000, 0x00100000
STUB_BASE, STUB_SIZE = 0x01E00000, 0x00010000
STACK_TOP = 0x03000000
RETURN_TRAP = STUB_BASE + STUB_SIZE - 4   # where a call from a stand-in into the program returns
NOP = 0xE1A00000                          # mov r0, r0

CAPSTONE_TO_UC = {getattr(capstone.arm, "ARM_REG_R%d" % i): A.UC_ARM_REG_R0 + i for i in range(13)}
CAPSTONE_TO_UC.update({capstone.arm.ARM_REG_SP: A.UC_ARM_REG_SP, capstone.arm.ARM_REG_LR: A.UC_ARM_REG_LR})
REGS = [A.UC_ARM_REG_R0 + i for i in range(13)] + [A.UC_ARM_REG_SP, A.UC_ARM_REG_LR]


class Fault(Exception):
    """The run stops: CLASS names the fault, ADDRESS the instruction."""
    def __init__(self, kind, address, detail=""):
        Exception.__init__(self, kind)
        self.kind, self.address, self.detail = kind, address, detail


class ProgramEnd(Exception):
    def __init__(self, status):
        Exception.__init__(self, "exit %d" % status)
        self.status = status


def align(n, a=0x1000):
    return (n + a - 1) & ~(a - 1)


class Image:
    """What the loader reads of a PE image."""
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        fh, opt = pe + 4, pe + 24
        self.machine, nsec = struct.unpack_from("<HH", data, fh)
        optsize = struct.unpack_from("<H", data, fh + 16)[0]
        self.entry, = struct.unpack_from("<I", data, opt + 16)
        self.base, = struct.unpack_from("<I", data, opt + 28)
        self.size_of_image, self.size_of_headers = struct.unpack_from("<II", data, opt + 56)
        self.subsystem, = struct.unpack_from("<H", data, opt + 68)
        self.stack_reserve, self.stack_commit = struct.unpack_from("<II", data, opt + 72)
        ndirs, = struct.unpack_from("<I", data, opt + 92)
        self.dirs = [struct.unpack_from("<II", data, opt + 96 + 8 * i) for i in range(ndirs)]
        self.sections = []
        for i in range(nsec):
            s = opt + optsize + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("ascii", "replace")
            vsize, rva, rawsize, raw = struct.unpack_from("<4I", data, s + 8)
            chars, = struct.unpack_from("<I", data, s + 36)
            self.sections.append((name, rva, vsize, raw, rawsize, chars))

    def directory(self, i):
        return self.dirs[i] if i < len(self.dirs) else (0, 0)


class Machine:
    """One emulated process: memory, CPU, the import table, the counts."""

    def __init__(self, image_bytes, cpu_model="sa1110"):
        self.image = Image(image_bytes)
        if self.image.machine != 0x1C0:
            raise ValueError("machine 0x%X is not ARM (0x1C0)" % self.image.machine)
        self.uc = uc = unicorn.Uc(unicorn.UC_ARCH_ARM, unicorn.UC_MODE_ARM)
        model = {"sa1110": A.UC_CPU_ARM_SA1110, "pxa250": A.UC_CPU_ARM_PXA250}[cpu_model]
        uc.ctl_set_cpu_model(model)
        self.cs = capstone.Cs(capstone.CS_ARCH_ARM, capstone.CS_MODE_ARM)
        self.cs.detail = True
        self.block = 0
        self.standins = {}          # name -> (function, argument kinds)
        self.imports = {}           # stub address -> (library, name)
        self.calls = {}             # name -> number of calls
        self.nested = {}            # name -> instructions run in the program's procedures it called
        self.instructions = 0       # all the program's instructions
        self.trace = None           # where trace lines go
        self.fault = None
        self.stop_address = None
        self.depth = 0
        self.lowest_sp = STACK_TOP
        self.heap = Heap(HEAP_BASE, HEAP_SIZE)
        self.data_next = DATA_BASE
        self.load()
        self.hooks()

    # --- loading ---------------------------------------------------------------------

    def load(self):
        img, uc = self.image, self.uc
        base = img.base
        if base < 0x10000 or base + img.size_of_image > HEAP_BASE:
            raise ValueError("image base 0x%X does not fit the process slot" % base)
        uc.mem_map(base, align(img.size_of_image))
        uc.mem_write(base, img.data[:img.size_of_headers])
        for name, rva, vsize, raw, rawsize, chars in img.sections:
            uc.mem_write(base + rva, img.data[raw:raw + min(rawsize, vsize or rawsize)])
        self.image_end = base + align(img.size_of_image)
        uc.mem_map(HEAP_BASE, HEAP_SIZE)
        uc.mem_map(DATA_BASE, DATA_SIZE)
        uc.mem_map(STUB_BASE, STUB_SIZE)
        uc.mem_write(STUB_BASE, struct.pack("<I", NOP) * (STUB_SIZE // 4))
        self.stack_size = align(img.stack_reserve)
        self.stack_base = STACK_TOP - self.stack_size
        uc.mem_map(self.stack_base, self.stack_size)
        self.resolve_imports()

    def resolve_imports(self):
        img = self.image
        rva = img.directory(1)[0]
        n = 0
        while rva:
            lookup, _, _, name_rva, thunks = struct.unpack("<5I", self.read(img.base + rva, 20))
            if name_rva == 0:
                break
            library = self.cstr(img.base + name_rva).lower()
            at, iat = img.base + (lookup or thunks), img.base + thunks
            while True:
                thunk = self.u32(at)
                if thunk == 0:
                    break
                name = "#%d" % (thunk & 0xFFFF) if thunk & 0x80000000 else self.cstr(img.base + thunk + 2)
                stub = STUB_BASE + 4 * n
                n += 1
                self.imports[stub] = (library, name)
                self.w32(iat, stub)
                at += 4
                iat += 4
            rva += 20

    # --- memory helpers ----------------------------------------------------------------

    def read(self, a, n):
        return bytes(self.uc.mem_read(a, n))

    def write(self, a, b):
        self.uc.mem_write(a, bytes(b))

    def u32(self, a):
        return struct.unpack("<I", self.read(a, 4))[0]

    def u16(self, a):
        return struct.unpack("<H", self.read(a, 2))[0]

    def w32(self, a, v):
        self.write(a, struct.pack("<I", v & 0xFFFFFFFF))

    def w16(self, a, v):
        self.write(a, struct.pack("<H", v & 0xFFFF))

    def cstr(self, a, limit=4096):
        out = bytearray()
        while len(out) < limit:
            chunk = self.read(a + len(out), 1)
            if chunk == b"\0":
                break
            out += chunk
        return out.decode("latin-1")

    def wstr(self, a, limit=32768):
        """The UTF-16 text at a, without its terminator (None for a null pointer)."""
        if a == 0:
            return None
        out = []
        while len(out) < limit:
            c = self.u16(a + 2 * len(out))
            if c == 0:
                break
            out.append(c)
        return struct.pack("<%dH" % len(out), *out).decode("utf-16-le", "replace")

    def put_wstr(self, a, text, capacity=None):
        """Writes text and its terminator at a; capacity in characters cuts it."""
        units = text.encode("utf-16-le")
        if capacity is not None:
            units = units[:2 * max(capacity - 1, 0)]
        self.write(a, units + b"\0\0")
        return len(units) // 2

    def alloc_data(self, payload):
        """Stand-in data the program reads: lives for the whole run."""
        a = self.data_next
        self.data_next = align(a + len(payload), 8)
        if self.data_next > DATA_BASE + DATA_SIZE:
            raise Fault("stand-in data area full", 0)
        self.write(a, payload)
        return a

    def reg(self, r):
        return self.uc.reg_read(r)

    # --- running ---------------------------------------------------------------------

    def hooks(self):
        uc = self.uc
        uc.hook_add(unicorn.UC_HOOK_CODE, self.on_stub, begin=STUB_BASE, end=STUB_BASE + STUB_SIZE - 1)
        uc.hook_add(unicorn.UC_HOOK_BLOCK, self.on_block, begin=self.image.base, end=self.image_end - 1)
        uc.hook_add(unicorn.UC_HOOK_MEM_READ | unicorn.UC_HOOK_MEM_WRITE, self.on_access)
        uc.hook_add(unicorn.UC_HOOK_MEM_UNMAPPED, self.on_unmapped)
        uc.hook_add(unicorn.UC_HOOK_MEM_FETCH_PROT | unicorn.UC_HOOK_MEM_READ_PROT |
                    unicorn.UC_HOOK_MEM_WRITE_PROT, self.on_unmapped)
        uc.hook_add(unicorn.UC_HOOK_INTR, self.on_interrupt)
        uc.hook_add(unicorn.UC_HOOK_INSN_INVALID, self.on_invalid)

    def on_stub(self, uc, address, size, _):
        self.stop_address = address
        uc.emu_stop()

    def on_block(self, uc, address, size, _):
        self.instructions += size >> 2
        self.block = address

    def on_access(self, uc, access, address, size, value, _):
        if address & (size - 1):
            self.stop_fault("misaligned %s" % ("store" if access == unicorn.UC_MEM_WRITE else "load"),
                            "%d bytes at 0x%08X" % (size, address), self.locate_access(address))

    def locate_access(self, address):
        """The instruction of the current block whose memory operand is
        address: the CPU reports only the block's start during an access."""
        try:
            code = self.read(self.block, 256)
        except unicorn.UcError:
            return self.block
        for ins in self.cs.disasm(code, self.block):
            for op in ins.operands:
                if op.type != capstone.arm.ARM_OP_MEM:
                    continue
                mem = op.value.mem
                value = lambda r: (ins.address + 8) if r == capstone.arm.ARM_REG_PC else \
                    self.reg(CAPSTONE_TO_UC.get(r, A.UC_ARM_REG_R0))
                a = value(mem.base) if mem.base else 0
                if mem.index:
                    x = value(mem.index)
                    if op.shift.type == capstone.arm.ARM_SFT_LSL and op.shift.value:
                        x <<= op.shift.value
                    a = a - x if op.subtracted else a + x
                else:
                    a += mem.disp
                if ins.writeback and len(ins.operands) > 2:
                    a = value(mem.base)           # post-indexed: the base itself
                if a & 0xFFFFFFFF == address:
                    return ins.address
            if ins.group(capstone.arm.ARM_GRP_JUMP) or ins.mnemonic.startswith("b"):
                break
        return self.block

    def on_unmapped(self, uc, access, address, size, value, _):
        kind = {unicorn.UC_MEM_WRITE_UNMAPPED: "store", unicorn.UC_MEM_READ_UNMAPPED: "load",
                unicorn.UC_MEM_FETCH_UNMAPPED: "fetch"}.get(access, "access")
        at = None if kind == "fetch" else self.locate_access(address)
        if self.stack_base - 0x100000 <= address < self.stack_base:
            self.stop_fault("stack beyond %d KB" % (self.stack_size // 1024),
                            "%s at 0x%08X, %d bytes below the stack" % (kind, address, self.stack_base - address), at)
        else:
            self.stop_fault("access outside mapped memory", "%s of %d bytes at 0x%08X" % (kind, size, address), at)
        return False

    def on_interrupt(self, uc, intno, _):
        names = {1: "undefined instruction", 2: "software interrupt", 3: "prefetch abort", 4: "data abort",
                 7: "breakpoint"}
        self.stop_fault(names.get(intno, "exception %d" % intno))

    def on_invalid(self, uc, _):
        self.stop_fault("undefined instruction")
        return False

    def stop_fault(self, kind, detail="", at=None):
        if self.fault is None:
            self.fault = Fault(kind, self.reg(A.UC_ARM_REG_PC) if at is None else at, detail)
        self.uc.emu_stop()

    def run_from(self, pc):
        """Runs the program from pc until it returns to RETURN_TRAP; stand-ins
        are called on the way. Raises Fault or ProgramEnd."""
        while True:
            self.stop_address = None
            if self.reg(A.UC_ARM_REG_CPSR) & 0x20:
                raise Fault("undefined instruction", pc, "Thumb state")
            try:
                self.uc.emu_start(pc, 0xFFFFFFFC)
            except unicorn.UcError as e:
                if self.fault is None:
                    self.fault = Fault(self.classify(e), self.reg(A.UC_ARM_REG_PC), str(e))
            if self.fault is not None:
                raise self.fault
            if self.stop_address is None:
                raise Fault("the run stopped for no reason", self.reg(A.UC_ARM_REG_PC))
            if self.stop_address == RETURN_TRAP:
                return self.reg(A.UC_ARM_REG_R0)
            self.dispatch(self.stop_address)
            pc = self.reg(A.UC_ARM_REG_LR)
            if pc & 1:
                raise Fault("undefined instruction", pc & ~1, "a return into Thumb state")

    @staticmethod
    def classify(e):
        n = e.errno
        if n in (unicorn.UC_ERR_READ_UNALIGNED, unicorn.UC_ERR_WRITE_UNALIGNED, unicorn.UC_ERR_FETCH_UNALIGNED):
            return "misaligned access"
        if n == unicorn.UC_ERR_INSN_INVALID or n == unicorn.UC_ERR_EXCEPTION:
            return "undefined instruction"
        return "access outside mapped memory"

    def call(self, address, *args):
        """Calls the program's procedure at address with args (the ARM calling
        convention: four in r0-r3, the rest on the stack) and returns r0."""
        if address & 3 or not (self.image.base <= address < self.image_end):
            raise Fault("call of a procedure outside the image", address, "from a stand-in")
        saved = [self.reg(r) for r in REGS]
        sp = saved[13]
        extra = list(args[4:])
        if extra:
            sp -= 4 * len(extra)
            for i, v in enumerate(extra):
                self.w32(sp + i * 4, v)
        if sp < self.stack_base:
            raise Fault("stack beyond %d KB" % (self.stack_size // 1024), address, "calling back into the program")
        for i in range(4):
            self.uc.reg_write(A.UC_ARM_REG_R0 + i, (args[i] if i < len(args) else 0) & 0xFFFFFFFF)
        self.uc.reg_write(A.UC_ARM_REG_SP, sp)
        self.uc.reg_write(A.UC_ARM_REG_LR, RETURN_TRAP)
        self.depth += 1
        try:
            result = self.run_from(address)
        finally:
            self.depth -= 1
        for r, v in zip(REGS, saved):
            self.uc.reg_write(r, v)
        return result

    def start(self, command_line):
        """Enters the image the way the CE loader does: the entry point gets
        the module, no previous instance, the command line and SW_SHOW (5)."""
        self.uc.reg_write(A.UC_ARM_REG_CPSR, 0x10)   # user mode, ARM state; its own banked sp follows
        self.uc.reg_write(A.UC_ARM_REG_SP, STACK_TOP)
        line = self.alloc_data(command_line.encode("utf-16-le") + b"\0\0")
        return self.call(self.image.base + self.image.entry, self.image.base, 0, line, 5)

    # --- imports -----------------------------------------------------------------------

    def args(self, n):
        vals = [self.reg(A.UC_ARM_REG_R0 + i) for i in range(min(n, 4))]
        sp = self.reg(A.UC_ARM_REG_SP)
        vals += [self.u32(sp + 4 * i) for i in range(n - 4)] if n > 4 else []
        return vals

    def dispatch(self, stub):
        library, name = self.imports.get(stub, ("?", "?"))
        entry = self.standins.get(name)
        if entry is None:
            lr = self.reg(A.UC_ARM_REG_LR)
            raise Fault("call of an import with no stand-in", lr - 4, "%s!%s" % (library, name))
        function, nargs = entry
        self.calls[name] = self.calls.get(name, 0) + 1
        self.lowest_sp = min(self.lowest_sp, self.reg(A.UC_ARM_REG_SP))
        before = self.instructions
        result = function(self, *self.args(nargs))
        self.nested[name] = self.nested.get(name, 0) + self.instructions - before
        self.uc.reg_write(A.UC_ARM_REG_R0, (result or 0) & 0xFFFFFFFF)

    def log(self, text):
        if self.trace is not None:
            self.trace.write("  " * self.depth + text + "\n")

    def disassemble(self, address, before=6, after=4):
        lines = []
        start = max(self.image.base, (address & ~3) - 4 * before)
        end = min(self.image_end, (address & ~3) + 4 * (after + 1))
        try:
            code = self.read(start, end - start)
        except unicorn.UcError:
            return ["  (no code at 0x%08X)" % address]
        for i in range(0, len(code), 4):
            a = start + i
            word = struct.unpack_from("<I", code, i)[0]
            ins = list(self.cs.disasm(code[i:i + 4], a))
            text = "%s %s" % (ins[0].mnemonic, ins[0].op_str) if ins else "(undefined)"
            lines.append("%s %08X: %08X  %s" % ("=>" if a == address & ~3 else "  ", a, word, text))
        return lines


class Heap:
    """LocalAlloc's and malloc's memory: first fit over a free list, blocks
    8-byte aligned as the CE heap gives them."""
    def __init__(self, base, size):
        self.free = [(base, size)]
        self.used = {}

    def alloc(self, n):
        n = align(max(n, 1), 8)
        for i, (a, size) in enumerate(self.free):
            if size >= n:
                if size == n:
                    del self.free[i]
                else:
                    self.free[i] = (a + n, size - n)
                self.used[a] = n
                return a
        return 0

    def release(self, a):
        n = self.used.pop(a, None)
        if n is None:
            return False
        self.free.append((a, n))
        self.free.sort()
        merged = []
        for blk in self.free:
            if merged and merged[-1][0] + merged[-1][1] == blk[0]:
                merged[-1] = (merged[-1][0], merged[-1][1] + blk[1])
            else:
                merged.append(blk)
        self.free = merged
        return True

    def size(self, a):
        return self.used.get(a)


def standin(table, name, nargs):
    """Registers a stand-in: table[name] = (function, number of arguments)."""
    def register(function):
        table[name] = (function, nargs)
        return function
    return register
