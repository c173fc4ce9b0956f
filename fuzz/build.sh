#!/bin/sh
# Builds the fuzz targets with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, straight from the sources (no CMake):
#   dxf_reader_fuzz    the DXF reader (R12 upgrade included), writer and read-back
#   report_xml_fuzz    the graphic report document reader (reports/)
#   prefs_cfg_fuzz     the prefs.cfg reader (config/)
#   docmon_xml_fuzz    the docmon.xml reader (config/)
#   script_input_fuzz  script and --command input (host/ed/ScriptInput)
# The sources are copied first (to FOLDER/src, times kept), so editing them
# during the build cannot mix two versions in one binary. Objects are kept in
# FOLDER/obj and compiled again only when their source or a header they
# include is newer. A file that differs from the last build's copy is given
# the current time: an object that build made may be newer than the edit
# (the edit came while it ran), and would otherwise pass for one made with
# the edited file.
# Usage: fuzz/build.sh [FOLDER [TARGET...]]   (default: build-fuzz, every target)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-fuzz}
[ $# -gt 0 ] && shift
targets=${*:-dxf_reader_fuzz report_xml_fuzz prefs_cfg_fuzz docmon_xml_fuzz script_input_fuzz}
jobs=${FUZZ_BUILD_JOBS:-2}
mkdir -p "$out/obj"
out=$(cd "$out" && pwd)
snap=$out/src
last=$out/src.last
rm -rf "$last"
[ -d "$snap" ] && mv "$snap" "$last"
mkdir -p "$snap"
module_dirs="module spaces editing reports database config infra"
for d in host fuzz $module_dirs; do
    [ -d "$root/$d" ] && cp -rp "$root/$d" "$snap/"
done
if [ -d "$last" ]; then
    (cd "$snap" && find . -type f) | while IFS= read -r f; do
        cmp -s "$snap/$f" "$last/$f" || touch "$snap/$f"
    done
    rm -rf "$last"
fi
# The version header CMake generates from the project VERSION, each part in
# two digits (64.4.5.0 gives "64.04.05.00").
mkdir -p "$out/generated"
version=$(sed -n 's/^project(Zelka VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt" |
          awk -F. '{ printf "%02d.%02d.%02d.%02d", $1, $2, $3, $4 }')
sed "s/@ZELKA_VERSION_TEXT@/$version/" "$root/infra/ZelkaVersion.h.in" > "$out/generated/ZelkaVersion.h.new"
cmp -s "$out/generated/ZelkaVersion.h.new" "$out/generated/ZelkaVersion.h" 2>/dev/null ||
    mv "$out/generated/ZelkaVersion.h.new" "$out/generated/ZelkaVersion.h"
rm -f "$out/generated/ZelkaVersion.h.new"
# The new-drawing template embedded as a source, as cmake/EmbedFile.cmake makes it.
template=$root/host/dxf/template.dxf
{
    echo "// Generated from $template by fuzz/build.sh; do not edit."
    echo "extern const char kDxfTemplate[] = {"
    od -An -v -tx1 "$template" | sed -e 's/ *\([0-9a-f][0-9a-f]\)/0x\1,/g'
    echo "0};"
    echo "extern const unsigned long kDxfTemplate_size = $(wc -c < "$template");"
} > "$out/generated/DxfTemplateData.cpp.new"
cmp -s "$out/generated/DxfTemplateData.cpp.new" "$out/generated/DxfTemplateData.cpp" 2>/dev/null ||
    mv "$out/generated/DxfTemplateData.cpp.new" "$out/generated/DxfTemplateData.cpp"
rm -f "$out/generated/DxfTemplateData.cpp.new"
mkdir -p "$snap/host/generated"
cp -p "$out/generated/DxfTemplateData.cpp" "$snap/host/generated/DxfTemplateData.cpp"
flags="-std=c++20 -O1 -g -fsanitize=address,undefined -fno-sanitize-recover=undefined -I$snap -I$snap/host -I$out/generated -DZELKA_RESOURCE_DIR=\"$root/resources\""
export flags snap out

# Compiles the sources under the given folders of the snapshot into objects.
compile() {
    for d in "$@"; do
        [ -d "$snap/$d" ] && find "$snap/$d" -name '*.cpp' -not -path "$snap/host/plot/*"
    done | xargs -r -P "$jobs" -I{} sh -c '
        src={}; rel=${src#$snap/}; obj=$out/obj/${rel%.cpp}.o
        if [ -f "$obj" ] && [ -f "$obj.d" ]; then
            stale=no
            for dep in $(sed -e "s/^[^:]*://" -e "s/\\\\$//" "$obj.d"); do
                [ "$dep" -nt "$obj" ] && stale=yes && break
            done
            [ $stale = no ] && exit 0
        fi
        mkdir -p "$(dirname "$obj")"
        clang++ $flags -fsanitize=fuzzer-no-link -MMD -MF "$obj.d" -c "$src" -o "$obj"'
}

# The plot engine (host/plot) is left out: no target plots, and it would
# bring cairo and libjpeg into every fuzz binary.

# The objects of the given folders as one archive. The host archive is linked
# whole: the DXF format registers itself with the database from a static
# initialiser that nothing else references.
archive() {
    name=$1; shift
    rm -f "$out/$name.a"
    for d in "$@"; do
        [ -d "$out/obj/$d" ] && find "$out/obj/$d" -name '*.o' -not -path "$out/obj/host/plot/*"
    done | xargs ar rcs "$out/$name.a"
}

compile host
archive libhost host
need_module=no
for t in $targets; do
    case $t in dxf_reader_fuzz | script_input_fuzz) ;; *) need_module=yes ;; esac
done
if [ $need_module = yes ]; then
    compile $module_dirs
    archive libmodule $module_dirs
fi
for t in $targets; do
    case $t in
    dxf_reader_fuzz | script_input_fuzz) libs="-Wl,--whole-archive $out/libhost.a -Wl,--no-whole-archive" ;;
    *) libs="$out/libmodule.a -Wl,--whole-archive $out/libhost.a -Wl,--no-whole-archive -lpugixml" ;;
    esac
    clang++ $flags -fsanitize=fuzzer "$snap/fuzz/$t.cpp" $libs -ldl -o "$out/$t"
    echo "$out/$t"
done
