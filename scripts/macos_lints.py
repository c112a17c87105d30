"""Lints of scripts/check-macos for the faults that crash a Cocoa program after a while: ownership
of Core Foundation objects, blocks that capture C++ `this`, undeclared methods, platform numbers
without a check against Apple's constants, AppKit off the main thread, Objective-C exceptions in
the object runtime, entries from the platform that do not start with the entry helper, and
declarations weakened quietly.

Each lint takes the tree's root and the sources it reads, and returns findings as text. Helpers
come from scripts/check-macos (blank, matching, reached, cached, clang_command) through `Tools`.
"""

import os
import re
import subprocess

DECLARATIONS = "tools/macos-declarations"
ATTRIBUTES = "tools/macos-declarations/attributes.txt"
CF_HOLDER = "src/platform/macos/bridge/CFRef.h"
OBJECT_RUNTIME = "src/platform/macos/display/ObjCObjectRuntime.mm"
PRIVATE_PROTOCOL = "TurnletVirtualDisplayMessages"


# The labels the lints' findings start with.
LABELS = r"(ownership|block|selector|platform number|thread|exception|weakened): "


class Tools:
    """What the lints borrow from the check: set by scripts/check-macos."""
    blank = None
    matching = None
    reached = None
    cached = None
    clang_command = None


def read(root, source):
    with open(os.path.join(root, source)) as f:
        return f.read()


def line_of(code, offset):
    return code.count("\n", 0, offset) + 1


# ---------------------------------------------------------------------------------------------
# Shapes of the code, found in text with comments and strings blanked.

BODY_START = re.compile(r"\)\s*(?:const\s*)?(?:override\s*)?(?:final\s*)?(?:noexcept\s*)?(?:->\s*[\w:<>*& ]+?\s*)?\{"
                        r"|^[-+]\s*\([^{;]*\{", re.M)


def function_bodies(code):
    """(start, end) of every brace block opened after a parameter list or an Objective-C method
    head; the outermost one around an offset is its function."""
    bodies = []
    for match in BODY_START.finditer(code):
        brace = match.end() - 1
        bodies.append((brace, Tools.matching(code, brace, "{", "}")))
    return bodies


def enclosing_function(bodies, offset):
    around = [(s, e) for s, e in bodies if s <= offset < e]
    return min(around, key=lambda b: b[0]) if around else (0, 0)


def blocks(code):
    """(start, end, head) of every block literal `^...{...}`; head is the text from `^` to `{`."""
    found = []
    for match in re.finditer(r"\^\s*(?:\([^{};]*?\)\s*)?\{", code):
        brace = match.end() - 1
        found.append((brace, Tools.matching(code, brace, "{", "}"), match.start()))
    return found


def call_arguments(code, name_end):
    """The text inside the parentheses that open at name_end (after optional spaces)."""
    start = code.find("(", name_end)
    return code[start + 1:Tools.matching(code, start, "(", ")") - 1], start


def is_create_or_copy(name):
    return re.search(r"(?:Create|Copy)", name) is not None and name[:1].isupper()


def is_get(name):
    return "Get" in name and not is_create_or_copy(name) and name[:1].isupper()


# ---------------------------------------------------------------------------------------------
# 1. Core Foundation ownership, by the naming rule.

def returned_types(declaration_texts):
    """Function name -> the type it returns, from the declarations."""
    types = {}
    for text in declaration_texts.values():
        for match in re.finditer(r"(\w+)\s*(?:\*\s*)?(?:_Nullable\s+|_Nonnull\s+)?\b([A-Z]\w*)\s*\(", text):
            types.setdefault(match.group(2), match.group(1))
    return types


def cf_ownership(root, sources, declaration_texts):
    findings = []
    assign_properties = assigned_cf_properties(declaration_texts)
    returns = returned_types(declaration_texts)
    for source in sources:
        code = Tools.blank(read(root, source))
        bodies = function_bodies(code)

        def report(offset, text):
            findings.append(f"ownership: {source}:{line_of(code, offset)}: {text}")

        if source != CF_HOLDER:
            for use in re.finditer(r"\b(CFRelease|CFRetain)\s*\(", code):
                report(use.start(), f"{use.group(1)} outside the holder (CFRef): hold the object in a CFRef instead")
        # What a call returns, by the function's name.
        for use in re.finditer(r"::retain\s*\(\s*(\w+)\s*\(", code):
            if is_create_or_copy(use.group(1)):
                report(use.start(), f"{use.group(1)} returns an owned object (create rule): adopt it, do not retain it")
        for use in re.finditer(r"::adopt\s*\(\s*(\w+)\s*\(", code):
            if is_get(use.group(1)):
                report(use.start(), f"{use.group(1)} returns an object not owned (get rule): retain it, do not adopt it")
        for use in re.finditer(r"\(\s*(__bridge|__bridge_transfer)\s+[^()]*\)\s*(\w+)\s*\(", code):
            kind, name = use.groups()
            if kind == "__bridge" and is_create_or_copy(name):
                report(use.start(), f"{name} returns an owned object: bridge it with __bridge_transfer")
            if kind == "__bridge_transfer" and is_get(name):
                report(use.start(), f"{name} returns an object not owned: it cannot be transferred")
        for use in re.finditer(r"\bCFBridgingRelease\s*\(\s*(\w+)\s*\(", code):
            if is_get(use.group(1)):
                report(use.start(), f"{use.group(1)} returns an object not owned: it cannot be transferred")
        # A variable or out-parameter filled by a Create or Copy call reaches adoption in its function;
        # one filled by a Get call never does.
        for use in re.finditer(r"\b([A-Z]\w*)\s*\(", code):
            name = use.group(1)
            if not (is_create_or_copy(name) or is_get(name)):
                continue
            arguments, _ = call_arguments(code, use.end() - 1)
            before = code[max(0, use.start() - 120):use.start()]
            if returns.get(name, "").endswith("Ref"):  # the object is the result
                assigned = re.search(r"\b(\w+)\s*=\s*$", before)
                names = [assigned.group(1)] if assigned else []
                if is_create_or_copy(name) and not assigned and not re.search(
                        r"(?:::adopt\s*\(|::retain\s*\(|\(\s*__bridge(?:_transfer)?\s+[^()]*\)|CFBridgingRelease\s*\()\s*$", before):
                    report(use.start(), f"what {name} creates is neither adopted nor transferred")
            else:  # a result code: the object comes back through the last argument
                names = re.findall(r"&\s*(\w+)\s*$", arguments.split(",")[-1]) if arguments.strip() else []
            start, end = enclosing_function(bodies, use.start())
            rest = code[use.end():end]
            for variable in names:
                taken = re.search(r"(?:::adopt\s*\(\s*|\(\s*__bridge_transfer\s+[^()]*\)\s*|CFBridgingRelease\s*\(\s*)"
                                  + re.escape(variable) + r"\b", rest)
                if is_create_or_copy(name) and not taken:
                    report(use.start(), f"'{variable}' holds what {name} created and is never adopted in this function")
                if is_get(name) and taken:
                    report(use.start(), f"'{variable}' holds what {name} returned (not owned) and is adopted")
        # A Core Foundation object set on an assign property lives in a member, not in a local.
        for use in re.finditer(r"\.\s*(\w+)\s*=\s*([^;=][^;]*);", code):
            if use.group(1) not in assign_properties:
                continue
            value = use.group(2).strip()
            start, end = enclosing_function(bodies, use.start())
            held = re.match(r"(\w+)\s*\.\s*get\s*\(\s*\)$", value)
            temporary = re.search(r"\)\s*\.\s*get\s*\(\s*\)$", value) or re.match(r"[A-Z]\w*(?:Create|Copy)\w*\s*\(", value)
            local = held and re.search(r"(?:\bauto|>)\s*(?:const\s+)?&?\s*" + re.escape(held.group(1)) + r"\s*[=({;]",
                                       code[start:use.start()])
            if temporary or local:
                report(use.start(), f"'{use.group(1)}' does not retain its Core Foundation object: hold it in a member that "
                                    "lives as long as the property's owner, not in a local or a temporary")
    return findings


def assigned_cf_properties(declaration_texts):
    """Properties of a Core Foundation type that do not retain: declared assign, or with no
    ownership attribute (the default for a non-object type)."""
    names = set()
    for text in declaration_texts.values():
        for match in re.finditer(r"@property\s*(?:\(([^)]*)\))?\s*([\w\s]*?Ref)\s+(?:_Nullable\s+|_Nonnull\s+)?(\w+)\s*;", text):
            attributes = match.group(1) or ""
            if not re.search(r"\b(strong|retain|copy)\b", attributes):
                names.add(match.group(3))
    return names


# ---------------------------------------------------------------------------------------------
# 2. Blocks that capture C++ `this`, from clang's AST dump.

LOCATION = re.compile(r"(?:\bline:(?P<only>\d+):\d+|(?P<file>[^\s<>,:]+):(?P<line>\d+):\d+)")


def blocks_capturing_this(root, sources):
    findings = []
    for source in sources:
        # A clang run costs as much as the type check: only where a block literal can be.
        if not any(blocks(Tools.blank(read(root, path))) for path in Tools.reached(root, source)
                   if not os.path.relpath(path, root).startswith(DECLARATIONS)):
            continue
        command = Tools.clang_command(root, source, ["-fsyntax-only", "-Xclang", "-ast-dump", "-Xclang",
                                                     "-ast-dump-filter", "-Xclang", "urnlet"])
        code, out = Tools.cached("blocks", root, source, command, captures_this_lines)
        if code:
            continue  # the type check reports why the source does not compile
        for where in out:
            findings.append(f"block: {where}: an Objective-C block captures C++ `this`; hold a weak owner or a "
                            "shared copy in the block instead")
    return findings


def captures_this_lines(output):
    """Only what the lint needs from a dump (tens of megabytes otherwise): file:line of each block
    that captures `this`, in the tree's own sources."""
    where, file, line = [], None, None
    for text in output.splitlines():
        first = None
        # Each location is printed relative to the one printed before it.
        for match in LOCATION.finditer(text):
            if match.group("only"):
                line = int(match.group("only"))
            else:
                file, line = match.group("file"), int(match.group("line"))
            first = first or (file, line)
        if "BlockDecl" in text and "captures_this" in text and first and first[0] and first[0].startswith("src/"):
            where.append(f"{first[0]}:{first[1]}")
    return sorted(set(where))


# ---------------------------------------------------------------------------------------------
# 3. Every method an @implementation defines is declared; selectors come from @selector.

def selector_of(head):
    """The selector of a method head (the text after - or + up to ; or {)."""
    text = head
    while True:
        shorter = re.sub(r"\([^()]*\)", " ", text)
        if shorter == text:
            break
        text = shorter
    keywords = re.findall(r"(\w+)\s*:", text)
    if keywords:
        return "".join(k + ":" for k in keywords)
    word = re.search(r"\w+", text)
    return word.group(0) if word else ""


def interfaces(texts):
    """Classes and protocols of the given texts: name -> {kind, super, protocols, selectors, framework}."""
    found = {}
    for origin, text in texts.items():
        framework = origin.split("/")[0] if origin.startswith(tuple("ABCDEFGHIJKLMNOPQRSTUVWXYZ")) else origin
        for match in re.finditer(r"@(interface|protocol)\s+(\w+)\s*(\(\s*\w*\s*\))?\s*(?::\s*(\w+))?\s*(?:<([^>]*)>)?", text):
            kind, name, category, base, protocols = match.groups()
            if kind == "protocol" and text[match.end():match.end() + 1] == ";":
                continue  # a forward declaration
            end = text.find("@end", match.end())
            body = text[match.end():end]
            entry = found.setdefault(name, {"kind": kind, "super": None, "protocols": set(), "selectors": set(),
                                            "framework": framework})
            if base and not category:
                entry["super"] = base
            entry["protocols"] |= {p.strip() for p in (protocols or "").split(",") if p.strip()}
            for method in re.finditer(r"^\s*[-+]\s*([^;{]*)[;{]", body, flags=re.M):
                entry["selectors"].add(selector_of(method.group(1)))
            for prop in re.finditer(r"@property\s*(?:\(([^)]*)\))?([^;]*);", body):
                attributes = prop.group(1) or ""
                words = [w for w in re.findall(r"\w+", re.sub(r"__attribute__\s*\(\(.*?\)\)", " ", prop.group(2)))
                         if not w.startswith("_") and w not in ("nullable", "nonnull")]
                if not words:
                    continue
                getter = re.search(r"getter\s*=\s*(\w+)", attributes)
                entry["selectors"].add(getter.group(1) if getter else words[-1])
                if "readonly" not in attributes:
                    entry["selectors"].add("set" + words[-1][:1].upper() + words[-1][1:] + ":")
    return found


def declared_selectors(known, name, seen=None):
    seen = seen if seen is not None else set()
    if not name or name in seen or name not in known:
        return set()
    seen.add(name)
    entry = known[name]
    selectors = set(entry["selectors"])
    for protocol in entry["protocols"]:
        selectors |= declared_selectors(known, protocol, seen)
    return selectors | declared_selectors(known, entry["super"], seen)


def undeclared_methods(root, sources, texts):
    known = interfaces(texts)
    everything = {selector for entry in known.values() for selector in entry["selectors"]}
    findings = []
    for source in sources:
        code = Tools.blank(read(root, source))
        for match in re.finditer(r"@implementation\s+(\w+)", code):
            end = code.find("@end", match.end())
            declared = declared_selectors(known, match.group(1))
            for method in re.finditer(r"^[-+]\s*([^;{]*)\{", code[match.end():end], flags=re.M):
                selector = selector_of(method.group(1))
                if selector not in declared:
                    findings.append(f"selector: {source}:{line_of(code, match.end() + method.start())}: "
                                    f"{match.group(1)} defines '{selector}', which neither its @interface, its "
                                    "protocols nor its superclasses declare")
        if source == OBJECT_RUNTIME:
            findings += private_lookup(root, source, read(root, source))
        raw = read(root, source)
        for use in re.finditer(r"\b(NSSelectorFromString|sel_registerName|sel_getUid)\s*\(", code):
            # A name newer than the oldest SDK, sent inside its @available guard, is spelt out: the
            # declarations must declare it, which is the check @selector would make.
            literal = re.match(r'\s*@?"([\w:]+)"\s*\)', raw[use.end():])
            if literal and literal.group(1) in everything:
                continue
            if source != OBJECT_RUNTIME:
                findings.append(f"selector: {source}:{line_of(code, use.start())}: {use.group(1)} builds a selector the "
                                "compiler cannot check; write @selector(...), or name a declared selector")
    return findings


def private_lookup(root, source, text):
    """The object runtime looks up by name only the messages of its private protocol: each row of
    its table names the selector it holds, and every name the logic asks for is a row."""
    rows = re.findall(r'\{\s*"([\w:]+)"\s*,\s*@selector\(\s*([\w:]+)\s*\)\s*\}', text)
    findings = [f"selector: {source}: the name \"{name}\" looks up @selector({selector})"
                for name, selector in rows if name != selector]
    table = {name for name, _ in rows}
    for caller in [os.path.join("src/turnlet/virtualdisplay", n) for n in sorted(os.listdir(os.path.join(root, "src/turnlet/virtualdisplay")))]:
        if not caller.endswith(".cpp"):
            continue
        for name in re.findall(r'"(\w+:(?:\w+:)*|displayID)"', read(root, caller)):
            if name not in table:
                findings.append(f"selector: {caller}: the logic asks for \"{name}\", which the object runtime's lookup "
                                f"({source}) does not know")
    return findings


# ---------------------------------------------------------------------------------------------
# 4. Platform numbers checked against Apple's constants.

# (header, enumeration or constant): each enumerator (or the constant) appears in a static_assert
# of the backend beside a constant the declarations declare.
PLATFORM_NUMBERS = [
    ("src/platform/include/platform/InputEvents.h", "EventField"),
    ("src/platform/include/platform/WindowServices.h", "WindowLevelKey"),
    ("src/platform/include/platform/Gestures.h", "eventTypeDirectTouch"),
]


def platform_numbers(root, sources, texts):
    apple = set()
    for text in texts.values():
        apple |= set(re.findall(r"^\s*(k\w+|NS\w+)\s*=", text, flags=re.M))
    asserts = []
    for source in sources:
        code = Tools.blank(read(root, source))
        for match in re.finditer(r"\bstatic_assert\s*\(", code):
            inside = code[match.end():Tools.matching(code, match.end() - 1, "(", ")")]
            asserts += [" ".join(clause.split()) for clause in re.split(r"&&", inside)]
    findings = []
    for header, name in PLATFORM_NUMBERS:
        code = Tools.blank(read(root, header))
        enumeration = re.search(r"\benum\s+class\s+" + name + r"\b[^{]*\{([^}]*)\}", code)
        if enumeration:
            wanted = [(f"{name}::{e}", e) for e in re.findall(r"(\w+)\s*=", enumeration.group(1))]
        else:
            wanted = [(name, name)]
        private = set(re.findall(r"(\w+)\s*=[^,\n]*,?\s*// private", read(root, header)))
        for qualified, enumerator in wanted:
            if enumerator in private:
                continue
            checked = any(re.search(r"\b" + re.escape(qualified) + r"\b", clause) and "==" in clause
                          and any(word in apple for word in re.findall(r"\w+", clause)) for clause in asserts)
            if not checked:
                findings.append(f"platform number: {header}: {qualified} is not static_asserted against an Apple constant "
                                "in the backend (or marked `// private` where Apple declares none)")
    return findings


# ---------------------------------------------------------------------------------------------
# 5. AppKit only on the main thread.

def appkit_names(texts):
    """Classes and selectors only AppKit declares."""
    appkit, other = interfaces({k: v for k, v in texts.items() if k.startswith("AppKit/")}), \
        interfaces({k: v for k, v in texts.items() if not k.startswith("AppKit/")})
    classes = {n for n, e in appkit.items() if e["kind"] == "interface" and n.startswith("NS")}
    elsewhere = set().union(*(e["selectors"] for e in other.values()))
    selectors = set().union(*(e["selectors"] for e in appkit.values())) - elsewhere
    return classes, {s.split(":")[0] for s in selectors}


def appkit_messages(text, classes, selectors):
    """Offsets and descriptions of AppKit messages in text."""
    found = []
    for match in re.finditer(r"\[\s*(\w+)\s+(\w+)", text):
        if match.group(1) in classes or match.group(2) in selectors or match.group(1) == "NSApp":
            found.append((match.start(), f"[{match.group(1)} {match.group(2)}…]"))
    for match in re.finditer(r"\b(NS\w+|NSApp)\s*\.\s*(\w+)", text):
        if match.group(1) in classes or match.group(1) == "NSApp":
            found.append((match.start(), f"{match.group(1)}.{match.group(2)}"))
    return found


def appkit_off_main(root, sources, texts):
    classes, selectors = appkit_names(texts)
    background_protocols = {n for n, e in interfaces(texts).items()
                            if e["kind"] == "protocol" and e["framework"] == "ScreenCaptureKit"}
    sck_handlers = {s for e in interfaces({k: v for k, v in texts.items() if k.startswith("ScreenCaptureKit/")}).values()
                    for s in e["selectors"] if "completionhandler:" in s.lower()}
    findings = []
    for source in sources:
        code = Tools.blank(read(root, source))
        regions = []
        # Blocks handed to a queue that is not the main queue.
        for start, end, head in blocks(code):
            before = code[max(0, head - 200):head]
            call = re.search(r"\b(dispatch_\w+)\s*\(([^;{}]*)$", before)
            if call and "dispatch_get_main_queue" not in call.group(2):
                regions.append((start, end, f"a block handed to {call.group(1)} off the main queue"))
            keyword = re.search(r"(\w+)\s*:\s*$", before)
            message = code[max(0, head - 400):head]
            if keyword and any(keyword.group(1) + ":" in re.findall(r"\w+:", s)
                               and re.search(r"\b" + re.escape(s.split(":")[0]) + r"\s*:", message) for s in sck_handlers):
                regions.append((start, end, "a ScreenCaptureKit completion handler"))
        # Methods of ScreenCaptureKit's delegate and output protocols.
        for match in re.finditer(r"@interface\s+(\w+)\s*:\s*\w+\s*<([^>]*)>", code):
            adopted = {p.strip() for p in match.group(2).split(",")}
            if not adopted & background_protocols:
                continue
            implementation = re.search(r"@implementation\s+" + match.group(1) + r"\b", code)
            if implementation:
                end = code.find("@end", implementation.end())
                for method in re.finditer(r"^[-+][^;{]*\{", code[implementation.end():end], flags=re.M):
                    brace = implementation.end() + method.end() - 1
                    regions.append((brace, Tools.matching(code, brace, "{", "}"),
                                    f"a method of {', '.join(sorted(adopted & background_protocols))}"))
        for start, end, what in regions:
            for offset, message in appkit_messages(code[start:end], classes, selectors):
                findings.append(f"thread: {source}:{line_of(code, start + offset)}: AppKit message {message} in {what}; "
                                "AppKit runs on the main thread only")
    return findings


# ---------------------------------------------------------------------------------------------
# 6. Objective-C exceptions never leave the object runtime's public methods.

def runtime_exceptions(root, sources):
    if OBJECT_RUNTIME not in sources:
        return []
    code = Tools.blank(read(root, OBJECT_RUNTIME))
    findings = []
    for method in re.finditer(r"^[\w:<>]+\s+ObjCObjectRuntime::(\w+)\s*\(", code, flags=re.M):
        brace = code.find("{", method.end())
        end = Tools.matching(code, brace, "{", "}")
        covered = []
        for wrap in re.finditer(r"\btranslatingExceptions\s*\(", code[brace:end]):
            start = brace + wrap.end() - 1
            covered.append((start, Tools.matching(code, start, "(", ")")))
        for message in re.finditer(r"\[\s*[\w\[(]", code[brace:end]):
            offset = brace + message.start()
            if re.match(r"\[\s*&", code[offset:]) or not any(s <= offset < e for s, e in covered):
                if re.match(r"\[\s*(?:&|=|\])", code[offset:]):
                    continue  # a lambda's capture list
                findings.append(f"exception: {OBJECT_RUNTIME}:{line_of(code, offset)}: an Objective-C message in "
                                f"ObjCObjectRuntime::{method.group(1)} outside translatingExceptions")
    return findings


# ---------------------------------------------------------------------------------------------
# 6b. Every entry from Objective-C into C++ starts with the entry helper.

ENTRY_HELPER = "ranWithoutException"
# What may come before the helper in an entry: naming an unused parameter, the base class's own
# handling, an autorelease pool, `using` lines and declarations that call nothing.
ENTRY_PREFIX = re.compile(r"\(void\)\s*\w+\s*;|\[\s*super\s[^\[\];]*\]\s*;|@autoreleasepool|\busing\s[^;]*;"
                          r"|\bif\s*\(\s*!\s*$|(?:turnlet\s*::\s*)?(?:macos\s*::\s*)?$")


def starts_with_entry(code, brace):
    """Whether the body opening at brace runs the entry helper before anything else is called."""
    body = code[brace + 1:Tools.matching(code, brace, "{", "}") - 1]
    if not re.sub(r"\(void\)\s*\w+\s*;", "", body).strip():
        return True  # holds a captured object until the platform lets go of the block, nothing more
    helper = re.search(r"\b" + ENTRY_HELPER + r"\s*\(", body)
    if not helper:
        return False
    prefix = ENTRY_PREFIX.sub(" ", body[:helper.start()])
    return not re.search(r"[(\[]", re.sub(r"\bconst\s+bool\s+\w+\s*=\s*$", " ", prefix))


def enclosing_call(code, offset):
    """The function whose argument list holds offset, if the innermost bracket around it is one."""
    depth = 0
    for i in range(offset - 1, max(0, offset - 2000), -1):
        if code[i] in ")]}":
            depth += 1
        elif code[i] in "([{":
            if depth:
                depth -= 1
                continue
            name = re.search(r"(\w+)\s*(?:<[^<>]*>)?\s*$", code[:i]) if code[i] == "(" else None
            return name.group(1) if name else None
    return None


def platform_entries(root, sources, texts):
    """Methods the platform calls (those a superclass or adopted protocol declares, and actions named
    by @selector) and blocks handed to an Apple function or message."""
    apple = {k: v for k, v in texts.items() if not k.startswith("src/")}
    apple_keywords = {word for entry in interfaces(apple).values() for s in entry["selectors"] for word in re.findall(r"\w+:", s)}
    apple_functions = set()
    for text in apple.values():
        apple_functions |= set(re.findall(r"\b(\w+)\s*\(", text))
    known = interfaces(texts)
    own = {source: Tools.blank(read(root, source)) for source in sources}
    actions = {name for code in own.values() for name in re.findall(r"@selector\(\s*([\w:]+)\s*\)", code)}
    findings = []
    for source, code in own.items():
        for match in re.finditer(r"@implementation\s+(\w+)", code):
            entry = known.get(match.group(1), {"super": None, "protocols": set()})
            inherited = declared_selectors(known, entry["super"])
            for protocol in entry["protocols"]:
                inherited |= declared_selectors(known, protocol)
            end = code.find("@end", match.end())
            for method in re.finditer(r"^[-+]\s*([^;{]*)\{", code[match.end():end], flags=re.M):
                selector = selector_of(method.group(1))
                if selector.startswith("init") or (selector not in inherited and selector not in actions):
                    continue
                brace = match.end() + method.end() - 1
                if not starts_with_entry(code, brace):
                    findings.append(f"exception: {source}:{line_of(code, brace)}: {match.group(1)}'s '{selector}' is called by "
                                    f"the platform; begin it with {ENTRY_HELPER}(EntryThread::…, …) so that nothing "
                                    "thrown escapes into the platform's frames")
        for start, end, head in blocks(code):
            keyword = re.search(r"(\w+)\s*:\s*$", code[max(0, head - 400):head])
            call = enclosing_call(code, head)
            handed = (keyword and keyword.group(1) + ":" in apple_keywords) or call in apple_functions
            if handed and not starts_with_entry(code, start):
                findings.append(f"exception: {source}:{line_of(code, start)}: a block handed to the platform "
                                f"({keyword.group(1) + ':' if keyword else call}) does not begin with {ENTRY_HELPER}"
                                "(EntryThread::…, …); anything it throws would escape into the platform's frames")
    return findings


# ---------------------------------------------------------------------------------------------
# 7. Declarations are not weakened quietly.

ATTRIBUTE_WORDS = re.compile(r"\b(_Nonnull|_Nullable|_Null_unspecified|nonnull|nullable|null_unspecified|"
                             r"cf_returns_retained|cf_returns_not_retained|ns_returns_retained|ns_returns_not_retained|"
                             r"cf_consumed|ns_consumed|strong|copy|weak|assign|unsafe_unretained)\b")


def declaration_attributes(root):
    """HEADER:NAME -> the attributes of its declaration, in order, as one text."""
    attributes = {}
    base = os.path.join(root, DECLARATIONS)
    for folder, _, names in sorted(os.walk(base)):
        for name in sorted(names):
            if not name.endswith(".h"):
                continue
            with open(os.path.join(folder, name)) as f:
                text = f.read()
            docs = list(re.finditer(r"^\s*// @doc (\S+) \S+(?: macOS \S+)?\s*$", text, flags=re.M))
            for i, doc in enumerate(docs):
                following = text[doc.end():docs[i + 1].start() if i + 1 < len(docs) else len(text)]
                following = Tools.blank(following)
                end = re.search(r";|\{\s*$|@end", following, flags=re.M)
                declaration = following[:end.end() if end else len(following)]
                words = ATTRIBUTE_WORDS.findall(declaration)
                opened = text.rfind("#pragma clang assume_nonnull begin", 0, doc.start())
                if opened > text.rfind("#pragma clang assume_nonnull end", 0, doc.start()):
                    words.insert(0, "assume_nonnull")
                key = os.path.relpath(os.path.join(folder, name), base) + ":" + doc.group(1)
                while key in attributes:  # a property declared twice in one header
                    key += "'"
                attributes[key] = " ".join(words) if words else "-"
    return attributes


STRENGTH = {"assume_nonnull": "nonnull", "_Nonnull": "nonnull", "nonnull": "nonnull", "cf_returns_retained": "retained",
            "ns_returns_retained": "retained"}
WEAK = {"_Nullable": "nonnull", "nullable": "nonnull", "_Null_unspecified": "nonnull", "null_unspecified": "nonnull",
        "cf_returns_not_retained": "retained", "ns_returns_not_retained": "retained"}


def weakenings(before, after):
    """What the change from one attribute text to the other gives up (fewer promises of nonnull or
    of a retained result, or more nullable or not-retained marks)."""
    def count(text, table, kind):
        return sum(1 for w in text.split() if table.get(w) == kind)
    lost = []
    for kind in ("nonnull", "retained"):
        if count(after, STRENGTH, kind) < count(before, STRENGTH, kind) or count(after, WEAK, kind) > count(before, WEAK, kind):
            lost.append(kind)
    return lost


def parse_listing(text):
    """NAME -> attributes, and NAME -> Apple's words for the entries marked weakened."""
    entries, weakened = {}, {}
    for line in text.splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        entry, _, mark = line.partition("// @weakened")
        name, _, rest = entry.strip().partition(" ")
        entries[name] = rest.strip()
        if mark.strip():
            weakened[name] = mark.strip()
    return entries, weakened


def listing_text(attributes, weakened):
    lines = ["# The nullability and ownership attributes of each declaration in tools/macos-declarations/ (in the",
             "# order they appear; assume_nonnull: inside `#pragma clang assume_nonnull`), compared by",
             "# scripts/check-macos with the declarations and with this file's history. A change that weakens one",
             "# (nonnull to nullable, retained to not retained) ends its line, in the same commit, with",
             "#   // @weakened \"Apple's words that say so\"",
             "# Written by scripts/check-macos --attributes, which keeps those marks.", ""]
    lines += [f"{name} {value}" + (f"  // @weakened {weakened[name]}" if name in weakened else "")
              for name, value in sorted(attributes.items())]
    return "\n".join(lines) + "\n"


def git(root, *arguments):
    result = subprocess.run(["git", "-C", root, *arguments], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return result.returncode, result.stdout


def weakened_declarations(root, history_root):
    """Findings, and the weakened declarations to print. The listing at root must match the
    declarations; every weakening in it, against its last commit and along its history in
    history_root's git, needs a `// @weakened` line of the same version."""
    path = os.path.join(root, ATTRIBUTES)
    if not os.path.exists(path):
        return [f"weakened: {ATTRIBUTES} is missing; write it with scripts/check-macos --attributes"], {}
    listed, weakened = parse_listing(read(root, ATTRIBUTES))
    actual = declaration_attributes(root)
    findings = []
    for name in sorted(set(listed) | set(actual)):
        if listed.get(name) != actual.get(name):
            findings.append(f"weakened: {ATTRIBUTES}: {name} is listed as '{listed.get(name)}' but declared as "
                            f"'{actual.get(name)}'; update the listing (scripts/check-macos --attributes)")
    for name in sorted(weakened):
        if name not in actual:
            findings.append(f"weakened: {ATTRIBUTES}: {name} is marked @weakened but not declared")
    code, shallow = git(history_root, "rev-parse", "--is-shallow-repository")
    if code:
        return findings + [f"weakened: {history_root} is not a git checkout: the history of {ATTRIBUTES} cannot be "
                           "compared, so weakened declarations cannot be ruled out"], weakened
    if shallow.strip() == "true":
        return findings + [f"weakened: the clone is shallow: the history of {ATTRIBUTES} cannot be compared, so "
                           "weakened declarations cannot be ruled out (git fetch --unshallow)"], weakened
    # The versions to compare: each commit's listing against its parent's, then the tree's against HEAD's.
    _, log = git(history_root, "log", "--format=%H", "--first-parent", "--", ATTRIBUTES)
    versions = []
    for commit in reversed(log.split()):
        _, text = git(history_root, "show", f"{commit}:{ATTRIBUTES}")
        code, parent = git(history_root, "show", f"{commit}^:{ATTRIBUTES}")
        versions.append((commit[:12], parent if code == 0 else None, text))
    code, head = git(history_root, "show", f"HEAD:{ATTRIBUTES}")
    versions.append(("the working tree", head if code == 0 else None, read(root, ATTRIBUTES)))
    for where, parent, text in versions:
        if parent is None:
            continue
        before, _ = parse_listing(parent)
        after, marked = parse_listing(text)
        for name in sorted(set(before) & set(after)):
            lost = weakenings(before[name], after[name])
            if lost and name not in marked:
                findings.append(f"weakened: {where}: {name} goes from '{before[name]}' to '{after[name]}' ({', '.join(lost)} "
                                f"given up) without `// @weakened \"Apple's words\"` at the end of its line in {ATTRIBUTES}")
    return findings, weakened


def write_attributes(root):
    path = os.path.join(root, ATTRIBUTES)
    weakened = parse_listing(read(root, ATTRIBUTES))[1] if os.path.exists(path) else {}
    with open(path, "w") as f:
        f.write(listing_text(declaration_attributes(root), weakened))


# ---------------------------------------------------------------------------------------------

def declaration_texts(root):
    texts = {}
    base = os.path.join(root, DECLARATIONS)
    for folder, _, names in os.walk(base):
        for name in names:
            if name.endswith(".h"):
                with open(os.path.join(folder, name)) as f:
                    texts[os.path.relpath(os.path.join(folder, name), base)] = Tools.blank(f.read())
    return texts


def weakened(root):
    """The declarations the listing marks weakened, with Apple's words."""
    path = os.path.join(root, ATTRIBUTES)
    return parse_listing(read(root, ATTRIBUTES))[1] if os.path.exists(path) else {}


def lints(root, backend, headers, history_root):
    """The findings of every lint but the block lint (which check-macos runs beside clang's other
    runs) on the tree at root."""
    declarations = declaration_texts(root)
    own = {source: Tools.blank(read(root, source)) for source in backend + headers}
    findings = cf_ownership(root, backend + headers, declarations)
    findings += undeclared_methods(root, backend, {**declarations, **own})
    findings += platform_numbers(root, backend, declarations)
    findings += appkit_off_main(root, backend, declarations)
    findings += runtime_exceptions(root, backend)
    findings += platform_entries(root, backend, {**declarations, **own})
    return findings + weakened_declarations(root, history_root)[0]
