# Builds the plug-in's resource bundle: the property list, the images listed in the
# image map, and the image map itself, as one byte array placed in a section of its own
# that a host reads from the plug-in file (as it reads the resources of a Windows DLL).
#
#   cmake -DRESOURCES=<resources dir> -DOUTPUT=<file.cpp> -P EmbedResources.cmake
#
# Bundle layout (little-endian):
#   "MESRARSC", u32 count, count × {char type[4], i32 id, char name[16], u32 offset,
#   u32 size}, then the data; offsets count from the start of the bundle.

cmake_minimum_required(VERSION 3.20)

function(u32_hex value out)
    math(EXPR b0 "${value} & 255")
    math(EXPR b1 "(${value} >> 8) & 255")
    math(EXPR b2 "(${value} >> 16) & 255")
    math(EXPR b3 "(${value} >> 24) & 255")
    set(hex "")
    foreach(b ${b0} ${b1} ${b2} ${b3})
        math(EXPR h "${b}" OUTPUT_FORMAT HEXADECIMAL)
        string(APPEND hex "${h},")
    endforeach()
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# Bytes of an ASCII text, padded with zeros to `width` bytes.
function(text_hex text width out)
    string(LENGTH "${text}" n)
    set(hex "")
    if(n GREATER 0)
        math(EXPR last "${n} - 1")
        foreach(i RANGE 0 ${last})
            string(SUBSTRING "${text}" ${i} 1 c)
            string(HEX "${c}" h)
            string(APPEND hex "0x${h},")
        endforeach()
    endif()
    math(EXPR pad "${width} - ${n}")
    if(pad GREATER 0)
        foreach(i RANGE 1 ${pad})
            string(APPEND hex "0x00,")
        endforeach()
    endif()
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

# A four-character code as the host's Windows build stores it: a little-endian 32-bit
# integer whose high byte is the first character.
function(code_hex code out)
    string(SUBSTRING "${code}" 3 1 c3)
    string(SUBSTRING "${code}" 2 1 c2)
    string(SUBSTRING "${code}" 1 1 c1)
    string(SUBSTRING "${code}" 0 1 c0)
    text_hex("${c3}${c2}${c1}${c0}" 4 hex)
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

function(hex_length hex out)
    string(REGEX MATCHALL "0x" marks "${hex}")
    list(LENGTH marks n)
    set(${out} ${n} PARENT_SCOPE)
endfunction()

# The property list: reserved word 1, version 0, count, then each property as vendor,
# key, id 0, length and data padded to four bytes.
function(property vendor key data_hex out)
    hex_length("${data_hex}" n)
    code_hex(${vendor} v)
    code_hex(${key} k)
    u32_hex(0 id)
    u32_hex(${n} len)
    set(${out} "${v}${k}${id}${len}${data_hex}" PARENT_SCOPE)
endfunction()

code_hex("SPEA" kind_data)
u32_hex(2 ivrs_data)
text_hex("PluginMain" 12 entry_data)
text_hex("Mesra" 8 name_data)
property("ADBE" "kind" "${kind_data}" p1)
property("ADBE" "ivrs" "${ivrs_data}" p2)
property("ADBE" "wx86" "${entry_data}" p3)
property("ADBE" "pinm" "${name_data}" p4)
u32_hex(0 pipl_version)
u32_hex(4 pipl_count)
set(pipl_hex "0x01,0x00,${pipl_version}${pipl_count}${p1}${p2}${p3}${p4}")

# Entries: type;id;name;hex.
set(entries "")
set(blobs "")

function(add_entry type id name hex)
    set(entries_local "${entries}")
    list(APPEND entries_local "${type}|${id}|${name}")
    set(entries "${entries_local}" PARENT_SCOPE)
    set(blobs_local "${blobs}")
    list(APPEND blobs_local "${hex}")
    set(blobs "${blobs_local}" PARENT_SCOPE)
endfunction()

add_entry("PiPL" 16000 "" "${pipl_hex}")

file(STRINGS "${RESOURCES}/IDToFile.txt" map_lines)
foreach(line ${map_lines})
    if(line MATCHES "^([0-9]+)\\.png\t\t(.+)$")
        set(id ${CMAKE_MATCH_1})
        set(name ${CMAKE_MATCH_2})
        foreach(dir icons cursors)
            if(EXISTS "${RESOURCES}/${dir}/${name}")
                file(READ "${RESOURCES}/${dir}/${name}" content HEX)
                string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," content "${content}")
                add_entry("PNGI" ${id} "" "${content}")
            endif()
        endforeach()
    endif()
endforeach()

file(READ "${RESOURCES}/IDToFile.txt" map HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," map "${map}")
add_entry("TXT " 0 "IDTOFILE" "${map}")

list(LENGTH entries count)
math(EXPR offset "12 + ${count} * 32")
text_hex("MESRARSC" 8 header)
u32_hex(${count} count_hex)
set(directory "${header}${count_hex}")
set(data "")
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last})
    list(GET entries ${i} entry)
    list(GET blobs ${i} blob)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 type)
    list(GET fields 1 id)
    list(LENGTH fields nfields)
    set(name "")
    if(nfields GREATER 2)
        list(GET fields 2 name)
    endif()
    hex_length("${blob}" size)
    text_hex("${type}" 4 type_hex)
    u32_hex(${id} id_hex)
    text_hex("${name}" 16 name_hex)
    u32_hex(${offset} offset_hex)
    u32_hex(${size} size_hex)
    string(APPEND directory "${type_hex}${id_hex}${name_hex}${offset_hex}${size_hex}")
    string(APPEND data "${blob}")
    math(EXPR offset "${offset} + ${size}")
endforeach()

string(REPLACE "," ",\n" body "${directory}${data}")
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/ by EmbedResources.cmake; do not edit.
// The plug-in's resources, in the section that hosts read them from.
__attribute__((visibility(\"hidden\"))) extern const unsigned char kMesraResourceBundle[];
__attribute__((section(\".mesra_resources\"), used, aligned(8)))
const unsigned char kMesraResourceBundle[] = {
${body}
};
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
