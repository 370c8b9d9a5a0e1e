#!/bin/sh
# End-to-end tests of the real tolvar-menu-check binary on media built in temporary directories:
# exit statuses, the lines it prints, JSON, --help and --version, and that it starts and writes
# nothing. Usage: menu_check_test.sh BINARY CASE [SOURCE_DIR]
set -eu
checker=$1
case_name=$2
source_dir=${3:-}

medium=$(mktemp -d "${TMPDIR:-/tmp}/tolvar-check-XXXXXX")
trap 'rm -rf "$medium"' EXIT
out=$medium.out
trap 'rm -rf "$medium" "$out" "$out.err"' EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- output:" >&2
  cat "$out" "$out.err" >&2 2>/dev/null || true
  exit 1
}

# run EXPECTED_STATUS ARGS...: runs the checker, output in $out and $out.err.
run() {
  expected=$1
  shift
  status=0
  "$checker" "$@" >"$out" 2>"$out.err" || status=$?
  [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected, for: $*"
}

expect_line() {
  grep -qxF -- "$1" "$out" || fail "no line: $1"
}

# A file with CR LF line ends, from lines given as arguments.
write_menu() {
  mkdir -p "$medium/menu"
  printf '%s\r\n' "$@" >"$medium/menu/config.mnu"
}

case $case_name in
  clean)
    mkdir -p "$medium/setup"
    printf 'MZ' >"$medium/setup/setup.exe"
    write_menu "' A clean medium" "Demo" '$null$' 2 "'#system: windows" Install 'setup\setup.exe' Leave '$exit$'
    cd "$medium"
    run 0
    # Nothing on it starts the menu: a note, which counts for nothing.
    [ "$(cat "$out")" = ".: note: nothing starts the menu when the medium comes in: there is no autorun.inf with open= for Windows and no autorun.sh for Linux desktops in its root, so users start it by hand, as the kit's how-to-start.txt tells them: on Windows with a double-click on tolvar-autorun.exe, on Linux with a double-click on tolvar-autorun in the file manager, or, where the medium's files cannot be started (a FAT32 USB stick), with \"sh autorun.sh\" in a terminal
menu/config.mnu: 2 entries, 0 errors, 0 warnings" ] || fail "not only the note and the summary"
    [ ! -s "$out.err" ] || fail "something on stderr"
    ;;

  findings)
    # A medium with one error and warnings, and a program that would leave a mark if it ran.
    mkdir -p "$medium/tools"
    printf '#!/bin/sh\ntouch "%s/ran"\n' "$medium" >"$medium/tools/mark.sh"
    chmod +x "$medium/tools/mark.sh"
    printf 'not a picture' >"$medium/splash.bmp"
    write_menu Demo splash.bmp 3 Mark tools/mark.sh Setup 'setup.exe /S' Leave '$Exit$' extra
    before=$(cd "$medium" && ls -lAR --time-style=full-iso . | sha256sum)
    run 2 "$medium/"
    file="$medium/menu/config.mnu"
    grep -qx -- "$file:2: error: the splash picture \"splash.bmp\" cannot be shown: .*" "$out" ||
      fail "no picture error"
    expect_line "$file:7: warning: entry 2: Launch says \"Can't find file!!\": there is no file \"setup.exe /S\" on the medium"
    grep -qx -- "$file:9: warning: entry 3: \"\$Exit\\$\" is not the keyword \$exit\\$ (keywords match .*" "$out" ||
      fail "no keyword warning"
    grep -qx -- "$file:10: warning: a significant line follows the last entry .*" "$out" ||
      fail "no warning about the line after the last entry"
    expect_line "$file:5: warning: entry 1: \"tools/mark.sh\" is a shell script for Linux, but the entry is listed on Windows too: Windows users get it in their list, and Windows has nothing to run it with; give the entry '#system: linux"
    expect_line "$file: 3 entries, 1 error, 4 warnings"
    grep -qx -- "$medium/: note: nothing starts the menu .*" "$out" || fail "no note on what starts the menu"
    [ "$(wc -l <"$out")" -eq 7 ] || fail "other lines than the findings and the summary"
    [ ! -e "$medium/ran" ] || fail "the checker started a program"
    after=$(cd "$medium" && ls -lAR --time-style=full-iso . | sha256sum)
    [ "$before" = "$after" ] || fail "the checker changed the medium"

    write_menu Demo '$null$' 1 "'#system: windows" Setup setup.exe
    run 1 --target=windows "$medium"
    expect_line "$medium/menu/config.mnu: 1 entry, 0 errors, 1 warning"
    ;;

  unreadable)
    run 3 "$medium/nowhere"
    grep -q "^$medium/nowhere/menu/config.mnu: error: the medium cannot be read: \"$medium/nowhere\" " "$out" ||
      fail "no word on the missing medium"
    run 3 "$medium"
    expect_line "$medium/menu/config.mnu: error: Can't locate menu options definition file. (there is no file \".\\menu\\config.mnu\" on the medium)"
    expect_line "$medium/menu/config.mnu: not checked: the menu file cannot be read"
    # A folder that is no medium (yet) gets the one finding that counts, not a line per file:
    # 900 names Windows cannot use go unmentioned.
    mkdir -p "$medium/files"
    i=0
    while [ $i -lt 900 ]; do
      : >"$medium/files/name$i:"
      i=$((i + 1))
    done
    run 3 "$medium"
    [ "$(grep -c ': error: ' "$out")" -eq 1 ] || fail "not the one error"
    ! grep -q 'files/' "$out" || fail "names checked without a menu file"
    [ "$(wc -l <"$out")" -le 3 ] || fail "more than the error, a note and the summary"
    ;;

  json)
    write_menu 'Demo "quoted"' '$null$' 2 "'#arguments: /S" Setup 'setup\setup.exe' Leave '$exit$'
    run 1 --format=json "$medium"
    python3 - "$out" "$medium/menu/config.mnu" <<'PY' || fail "unexpected JSON"
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
assert report["file"] == sys.argv[2], report["file"]
assert report["checked"] is True and report["entries"] == 2
assert report["errors"] == 0 and report["warnings"] == 1 and report["exit_status"] == 1
[finding] = [f for f in report["findings"] if f["severity"] != "note"]
assert finding["line"] == 6 and finding["severity"] == "warning", finding
assert 'no file "setup\\setup.exe"' in finding["message"], finding["message"]
assert report["directives"] == [{"file": sys.argv[2], "line": 4, "place": "entry", "entry": 1, "name": "arguments", "value": "/S"}], report["directives"]
assert all(f["file"] == sys.argv[2] for f in report["findings"] if f["severity"] != "note"), report["findings"]
PY
    run 3 --format json "$medium/nowhere"
    python3 -c 'import json,sys; r=json.load(open(sys.argv[1])); assert r["checked"] is False and r["exit_status"] == 3 and r["findings"][0]["line"] is None' "$out" ||
      fail "unexpected JSON for an unreadable medium"
    ;;

  options)
    run 0 --help
    grep -q '^Usage: tolvar-menu-check ' "$out" || fail "no usage in --help"
    grep -q 'Exit status' "$out" || fail "no exit statuses in --help"
    run 0 --version
    grep -qx 'tolvar-menu-check [0-9][0-9.]*' "$out" || fail "no version"
    run 3 --frobnicate
    grep -q 'unknown option "--frobnicate"' "$out.err" || fail "no word on the unknown option"
    [ ! -s "$out" ] || fail "a usage error printed a report"
    run 3 one two
    run 3 --format=xml
    grep -q 'unknown format "xml"' "$out.err" || fail "no word on the unknown format"
    ;;

  examples)
    # The demo medium that ships with the sources must pass clean.
    if [ ! -f "$source_dir/examples/menu/config.mnu" ]; then
      echo "no demo medium yet"
      exit 77
    fi
    # As it ships: with the two programs autorun.inf and autorun.sh start beside it.
    cp -R "$source_dir/examples/." "$medium/"
    printf 'MZ' >"$medium/tolvar-autorun.exe"
    printf '#!/bin/sh\n' >"$medium/tolvar-autorun"
    chmod +x "$medium/tolvar-autorun"
    cd "$medium"
    run 0
    ! grep -q ': \(warning\|error\): ' "$out" || fail "the demo medium has findings"
    expect_line "menu/config.mnu: 11 entries, 0 errors, 0 warnings"
    # Without the Linux program, autorun.sh starts nothing.
    rm "$medium/tolvar-autorun"
    run 1 --target=linux
    expect_line "autorun.sh: warning: it starts \"./tolvar-autorun\", which is not in the medium's root: Linux users who start the medium get no menu; copy the Linux program there (the kit's medium folder holds it, and the .deb installs it as /usr/bin/tolvar-autorun)"
    ;;

  kit)
    # The kit's medium as the kit lays it out, its menu in English and in German, must pass clean:
    # the German file is checked as the English one (a caption cut off in the list, for one).
    cp -R "$source_dir/packaging/kit/." "$medium/"
    rm "$medium/.gitattributes"
    cp "$source_dir/examples/menu/splash.png" "$medium/menu/"
    cp "$source_dir/examples/autorun.inf" "$source_dir/examples/autorun.sh" "$medium/"
    printf 'MZ' >"$medium/tolvar-autorun.exe"
    printf '#!/bin/sh\n' >"$medium/tolvar-autorun"
    chmod +x "$medium/tolvar-autorun"
    [ -f "$medium/menu/config.de.mnu" ] || fail "the kit's medium has no second language"
    cd "$medium"
    run 0
    ! grep -q ': \(warning\|error\): ' "$out" || fail "the kit's medium has findings"
    expect_line "menu/config.mnu: 3 entries, 0 errors, 0 warnings"
    ;;

  medium)
    # The files around the menu file, named below the root as given, for the targets chosen.
    mkdir -p "$medium/setup"
    printf 'MZ' >"$medium/setup/setup.exe"
    write_menu Demo '$null$' 2 "'#system: windows" Install 'setup\setup.exe' Leave '$exit$'
    printf '[autorun]\r\nopen=menu.exe\r\nlabel=Demo\r\n' >"$medium/autorun.inf"
    printf '#!/bin/sh\n./tolvar-autorun\n' >"$medium/AUTORUN.SH"
    printf 'x' >"$medium/setup/aux.txt"
    run 1 "$medium"
    expect_line "$medium/autorun.inf:2: warning: Windows starts \"menu.exe\", but there is no such file on the medium"
    grep -q "^$medium/autorun.inf: warning: no action= in \[autorun\]" "$out" || fail "no word on action="
    grep -q "^$medium/autorun.inf: note: what Windows does with it: " "$out" || fail "no note on Windows"
    expect_line "$medium/AUTORUN.SH: warning: \"AUTORUN.SH\" is never found: desktops look for \"autorun.sh\" by its exact lower-case name"
    grep -q "^$medium/setup/aux.txt: warning: Windows cannot use this name: it is the name of a device" "$out" ||
      fail "no word on the device name"
    expect_line "$medium/menu/config.mnu: 2 entries, 0 errors, 4 warnings"

    run 1 --target=linux "$medium"
    ! grep -q 'autorun.inf\|aux.txt' "$out" || fail "Windows findings for --target=linux"
    grep -q 'AUTORUN.SH' "$out" || fail "no Linux findings for --target=linux"
    run 1 --target windows "$medium"
    ! grep -q 'AUTORUN.SH' "$out" || fail "Linux findings for --target=windows"
    run 3 --target=macos "$medium"
    grep -q 'unknown target "macos"' "$out.err" || fail "no word on the unknown target"

    run 1 --format=json "$medium"
    python3 - "$out" "$medium" <<'PY' || fail "unexpected JSON"
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
files = [f.get("file") for f in report["findings"]]
assert sys.argv[2] + "/autorun.inf" in files, files
assert report["warnings"] == 4 and report["exit_status"] == 1, report
assert any(f["severity"] == "note" for f in report["findings"])
PY
    ;;

  image)
    # ISO images mastered here with xorriso, as each system will see them.
    command -v xorriso >/dev/null || { echo "no xorriso"; exit 77; }
    tree=$medium/tree
    mkdir -p "$tree/menu" "$tree/setup"
    printf 'MZ' >"$tree/tolvar-autorun.exe"
    printf 'MZ' >"$tree/setup/install-everything"
    printf '#!/bin/sh\ncd "$(dirname "$0")" && exec ./tolvar-autorun\n' >"$tree/autorun.sh"
    printf '\177ELF' >"$tree/tolvar-autorun"
    chmod +x "$tree/autorun.sh" "$tree/tolvar-autorun"
    printf '[autorun]\r\nopen=tolvar-autorun.exe\r\nicon=tolvar-autorun.exe,0\r\nlabel=Demo\r\naction=Open\r\n' \
      >"$tree/autorun.inf"
    printf 'Demo\r\n$null$\r\n1\r\nInstall\r\nsetup\\install-everything\r\n' >"$tree/menu/config.mnu"
    master() {  # IMAGE XORRISO-SETTINGS...
      image=$1
      shift
      xorriso "$@" -outdev "$image" -map "$tree" / >/dev/null 2>&1 || fail "xorriso could not master $image"
    }

    master "$medium/both.iso" -rockridge on -joliet on
    run 0 --image "$medium/both.iso"
    expect_line "$medium/both.iso/menu/config.mnu: 1 entry, 0 errors, 0 warnings"

    # Joliet only: Linux reads the Joliet names and sees no permissions.
    master "$medium/joliet.iso" -rockridge off -joliet on
    run 1 --image "$medium/joliet.iso"
    grep -q "^$medium/joliet.iso: warning: the image has no Rock Ridge extension: Linux shows its Joliet names" "$out" ||
      fail "no word on the missing Rock Ridge"
    expect_line "$medium/joliet.iso/menu/config.mnu: 1 entry, 0 errors, 1 warning"

    # Neither: both systems see short names in capitals, and the long ones are cut.
    master "$medium/plain.iso" -rockridge off -joliet off
    run 1 --image "$medium/plain.iso"
    grep -q "^$medium/plain.iso: warning: the image has no Joliet extension" "$out" || fail "no word on Joliet"
    # Both systems miss it alike: one finding, naming neither.
    expect_line "$medium/plain.iso/menu/config.mnu:5: warning: entry 1: Launch says \"Can't find file!!\": there is no file \"setup\\install-everything\" on the medium"
    grep -q "^$medium/plain.iso/AUTORUN.INF:2: warning: Windows starts \"tolvar-autorun.exe\", but there is no such file" "$out" ||
      fail "no word on open="
    run 1 --target=linux --image "$medium/plain.iso"
    ! grep -q 'Windows' "$out" || fail "Windows findings for --target=linux"

    # What is no image, or only part of one, is named with the image's own exit status.
    head -c 100000 "$medium/both.iso" >"$medium/cut.iso"
    printf 'not an image' >"$medium/text.iso"
    for broken in cut.iso text.iso missing.iso; do
      run 4 --image "$medium/$broken"
      grep -q "^$medium/$broken: error: \"$medium/$broken\" is not an ISO 9660 image that can be read: " "$out" ||
        fail "no error naming $broken"
    done
    run 3 --image "$medium/both.iso" "$medium"

    # The demo medium, mastered as the README says, checks clean.
    rm -rf "$tree"
    mkdir -p "$tree"
    cp -R "$source_dir/examples/." "$tree/"
    printf 'MZ' >"$tree/tolvar-autorun.exe"
    printf '#!/bin/sh\n' >"$tree/tolvar-autorun"
    chmod +x "$tree/tolvar-autorun"
    xorriso -as mkisofs -R -J -V DEMO -o "$medium/demo.iso" "$tree" >/dev/null 2>&1 || fail "xorriso failed"
    run 0 --image "$medium/demo.iso"
    expect_line "$medium/demo.iso/menu/config.mnu: 11 entries, 0 errors, 0 warnings"
    ;;

  guide_medium)
    # A medium made as the README says, from the kit's layout (examples/): English, German and
    # Hebrew menu files with every directive, a 600 x 150 picture, autorun.inf in UTF-16 with
    # letters beyond ASCII. It checks clean as a folder, as an image and as a copy without execute
    # bits (a FAT32 stick): what a medium's file system takes away is a note.
    command -v xorriso >/dev/null || { echo "no xorriso"; exit 77; }
    tree=$medium/tree
    mkdir -p "$tree"
    cp -R "$source_dir/examples/." "$tree/"
    rm -f "$tree/menu/"*.mnu "$tree/menu/splash.png"
    printf 'MZ' >"$tree/tolvar-autorun.exe"
    printf 'MZ' >"$tree/programs/setup.exe"
    printf '\177ELF' >"$tree/tolvar-autorun"
    chmod +x "$tree/tolvar-autorun" "$tree/autorun.sh" "$tree/programs/"*.sh
    printf 'Lies mich\n' >"$tree/docs/liesmich.txt"
    printf 'Read me in Hebrew\n' >"$tree/docs/readme-he.txt"
    python3 - "$tree" <<'PY' || fail "could not write the medium"
import struct, sys, zlib
root = sys.argv[1]

def png(width, height):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    rows = b"".join(b"\0" + b"\x30\x60\x90" * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))

open(root + "/menu/splash.png", "wb").write(png(600, 150))
inf = ("[autorun]\r\nopen=tolvar-autorun.exe\r\nicon=tolvar-autorun.exe,0\r\n"
       "label=Tolvar Demo \u2013 \u05d3\u05de\u05d5\r\naction=Men\u00fc \u00f6ffnen\r\n")
open(root + "/autorun.inf", "wb").write(b"\xff\xfe" + inf.encode("utf-16-le"))

def menu(name, texts, title, lang, readme, link, heading, hello, install, leave):
    lines = texts + [title, "menu\\splash.png", "8",
        "'#description: " + heading, heading, "$null$",
        "'#system: linux", "'#directory: programs", "'#description: " + hello, hello,
        "programs\\hello.sh",
        "'#system: windows", "'#description: " + hello, hello, "programs\\hello.cmd",
        "'#system: linux", "'#arguments: --quiet \"Demo Product\" --sprache=" + lang,
        "'#after-launch: close", install, "programs\\setup.sh",
        "'#system: windows", "'#arguments: /S /D=\"C:\\Program Files\\Demo\" /LANG=" + lang,
        "'#run-as: administrator", "'#after-launch: stay", install, "programs\\setup.exe",
        readme[0], readme[1], link[0], link[1], leave, "$exit$"]
    open(root + "/menu/" + name, "w", encoding="utf-8", newline="\r\n").write("\n".join(lines) + "\n")

menu("config.mnu", ["' English: the menu for every language without a file of its own.",
                    "'#picture-description: The Tolvar demo's logo"],
     "Tolvar Demo", "en", ("Read me", "docs\\readme.txt"), ("Web page", "https://example.org/en/"),
     "Programs", "Say hello", "Install", "Leave")
menu("config.de.mnu", ["'#prompt: Bitte w\u00e4hlen...", "'#launch-caption: Starten",
                       "'#quit-caption: Beenden", "'#not-found-message: Datei nicht gefunden!",
                       "'#cannot-start-message: Kann nicht starten", "'#message-title: Tolvar-Demo",
                       "'#picture-description: Das Logo der Tolvar-Demo"],
     "Tolvar-Demo", "de", ("Lies mich", "docs\\liesmich.txt"), ("Webseite", "https://example.org/de/"),
     "Programme", "Hallo sagen", "Installieren", "Beenden")
menu("config.he.mnu", ["'#direction: right-to-left", "'#prompt: \u05d1\u05d7\u05e8\u05d5...",
                       "'#launch-caption: \u05d4\u05e4\u05e2\u05dc", "'#quit-caption: \u05d9\u05e6\u05d9\u05d0\u05d4",
                       "'#not-found-message: \u05d4\u05e7\u05d5\u05d1\u05e5 \u05dc\u05d0 \u05e0\u05de\u05e6\u05d0",
                       "'#cannot-start-message: \u05dc\u05d0 \u05e0\u05d9\u05ea\u05df \u05dc\u05d4\u05e4\u05e2\u05d9\u05dc",
                       "'#message-title: \u05d8\u05d5\u05dc\u05d1\u05e8", "'#picture-description: \u05dc\u05d5\u05d2\u05d5 Tolvar"],
     "Tolvar \u05d3\u05de\u05d5", "he", ("\u05e7\u05e8\u05d0 \u05d0\u05d5\u05ea\u05d9", "docs\\readme-he.txt"),
     ("\u05d0\u05ea\u05e8", "https://example.org/he/"), "\u05ea\u05d5\u05db\u05e0\u05d5\u05ea",
     "\u05e9\u05dc\u05d5\u05dd", "\u05d4\u05ea\u05e7\u05e0\u05d4", "\u05d9\u05e6\u05d9\u05d0\u05d4")
PY
    clean() {  # WHAT: the last run had no warning and no error
      ! grep -q ': \(warning\|error\): ' "$out" || fail "$1 has findings"
      grep -q ' 8 entries, 0 errors, 0 warnings$' "$out" || fail "$1: no clean summary"
    }
    cd "$tree"
    run 0
    clean "the folder"
    # The languages' own arguments, links and documents are noted, not warned about.
    grep -q '^menu/config.de.mnu:[0-9]*: note: entry 7: the command "https://example.org/de/"' "$out" ||
      fail "no note on the German link"
    run 0 --format=json
    python3 - "$out" <<'PY' || fail "unexpected JSON"
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
assert all("file" in f for f in report["findings"]), report["findings"]
files = {d["file"] for d in report["directives"]}
assert files == {"menu/config.mnu", "menu/config.de.mnu", "menu/config.he.mnu"}, files
words = [(w["file"], w["entry"], w["words"]) for w in report["words"]]
assert ("menu/config.de.mnu", 4, ["--quiet", "Demo Product", "--sprache=de"]) in words, words
assert ("menu/config.he.mnu", 5, ["/S", "/D=C:\\Program Files\\Demo", "/LANG=he"]) in words, words
PY
    run 0 --words
    expect_line 'menu/config.mnu:19: words: entry 4: "--quiet" "Demo Product" "--sprache=en"'

    xorriso -as mkisofs -R -J -V DEMO -o "$medium/demo.iso" "$tree" >/dev/null 2>&1 || fail "xorriso failed"
    run 0 --image "$medium/demo.iso"
    clean "the image"

    # A FAT32 stick: no file keeps an execute bit.
    cp -R "$tree" "$medium/stick"
    find "$medium/stick" -type f -exec chmod a-x {} +
    run 0 "$medium/stick"
    clean "the copy without execute bits"
    grep -q "^$medium/stick/autorun.sh: note: it has no execute permission" "$out" ||
      fail "no note on autorun.sh's execute permission"
    ;;

  image_names)
    # Names beyond ASCII, mastered as the README says, reach both views whatever the checker's locale:
    # Joliet keeps them in UTF-16, which has to be turned into UTF-8 even where the locale is C.
    command -v xorriso >/dev/null || { echo "no xorriso"; exit 77; }
    tree=$medium/tree
    folder='Instalação' document='Léame.txt'
    mkdir -p "$tree/menu" "$tree/$folder"
    printf 'MZ' >"$tree/tolvar-autorun.exe"
    printf 'MZ' >"$tree/$folder/configuração"
    printf 'hola' >"$tree/$document"
    printf '#!/bin/sh\ncd "$(dirname "$0")" && exec ./tolvar-autorun\n' >"$tree/autorun.sh"
    printf '\177ELF' >"$tree/tolvar-autorun"
    chmod +x "$tree/autorun.sh" "$tree/tolvar-autorun"
    printf '[autorun]\r\nopen=tolvar-autorun.exe\r\nicon=tolvar-autorun.exe,0\r\nlabel=Demo\r\naction=Open\r\n' \
      >"$tree/autorun.inf"
    printf 'Demo\r\n$null$\r\n2\r\nInstalar\r\n%s\\configuração\r\nLéame\r\n%s\r\n' "$folder" "$document" \
      >"$tree/menu/config.mnu"
    LC_ALL=C.UTF-8 xorriso -as mkisofs -R -J -V PRODUCT_CD -o "$medium/names.iso" "$tree" >/dev/null 2>&1 ||
      fail "xorriso failed"
    for locale in unset C C.UTF-8; do
      (
        unset LANG LANGUAGE LC_ALL LC_CTYPE LC_MESSAGES
        case $locale in
          C) export LANG=C ;;
          C.UTF-8) export LC_ALL=C.UTF-8 ;;
        esac
        run 0 --image "$medium/names.iso"
        expect_line "$medium/names.iso/menu/config.mnu: 2 entries, 0 errors, 0 warnings"
      ) || fail "with the locale $locale"
    done

    # A Joliet name that is no UTF-16 (a lone surrogate in place of the é) has no text at all: the
    # image is refused for it, rather than the file taken for the root or left out.
    python3 - "$medium/names.iso" <<'PY' || fail "no Joliet name to spoil"
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
name = "Léame".encode("utf-16-be")
at = data.find(name)
assert at >= 0
data[at + 2:at + 4] = b"\xd8\x00"
open(path, "wb").write(data)
PY
    run 4 --image "$medium/names.iso"
    grep -q "^$medium/names.iso: error: .*: a name in its Joliet tree is not text" "$out" ||
      fail "no error for the spoilt name"
    ;;

  image_limit)
    # An image over the entry limit is refused from its directory records, before libarchive takes
    # memory for every entry: here one folder of 1,000,001 records, under a 256 MB address space.
    command -v xorriso >/dev/null || { echo "no xorriso"; exit 77; }
    mkdir -p "$medium/tree/menu"
    printf 'Demo\r\n$null$\r\n1\r\nA\r\n$exit$\r\n' >"$medium/tree/menu/config.mnu"
    xorriso -outdev "$medium/many.iso" -rockridge off -joliet off -map "$medium/tree" / >/dev/null 2>&1 ||
      fail "xorriso failed"
    python3 - "$medium/many.iso" 1000001 <<'PY' || fail "could not add the records"
import struct, sys
path, count = sys.argv[1], int(sys.argv[2])
data = bytearray(open(path, "rb").read())
data += bytes(-len(data) % 2048)
first = len(data) // 2048

def record(extent, size, flags, name):
    length = 33 + len(name) + (len(name) + 1) % 2
    head = bytearray(length)
    head[0] = length
    head[2:10] = struct.pack("<I", extent) + struct.pack(">I", extent)
    head[10:18] = struct.pack("<I", size) + struct.pack(">I", size)
    head[25] = flags
    head[28:32] = b"\x01\x00\x00\x01"
    head[32] = len(name)
    head[33:33 + len(name)] = name
    return bytes(head)

per_sector = 2048 // 34
sectors = 1 + (count + per_sector - 1) // per_sector
size = sectors * 2048
directory = bytearray()
sector = record(first, size, 2, b"\x00") + record(first, size, 2, b"\x01")
for i in range(count):
    entry = record(first + sectors, 0, 0, b"A")  # the empty sector after the folder
    if len(sector) + len(entry) > 2048:
        directory += sector + bytes(2048 - len(sector))
        sector = b""
    sector += entry
directory += sector + bytes(-len(sector) % 2048)
data += directory + bytes(2048)
blocks = len(data) // 2048
pvd = 16 * 2048
data[pvd + 80:pvd + 88] = struct.pack("<I", blocks) + struct.pack(">I", blocks)
root = pvd + 156
data[root + 2:root + 10] = struct.pack("<I", first) + struct.pack(">I", first)
data[root + 10:root + 18] = struct.pack("<I", len(directory)) + struct.pack(">I", len(directory))
open(path, "wb").write(data)
PY
    (
      ulimit -v 262144
      run 4 --image "$medium/many.iso"
    ) || fail "not refused within 256 MB"
    grep -q "^$medium/many.iso: error: .*: it holds more than 1000000 entries" "$out" ||
      fail "no word on the entry limit"
    ;;

  *)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
echo "ok: $case_name"
