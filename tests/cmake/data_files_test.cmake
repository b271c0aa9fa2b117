# The data files' reader (cmake/DiaspringData.cmake): what it writes from a
# good file, to the byte, and the line it names for a bad one.
#   cmake -DDATA=cmake/DiaspringData.cmake -DWORK=dir -P data_files_test.cmake
cmake_minimum_required(VERSION 3.25)

# Writes `content` as a data file of `kind`, reads it, and compares the
# header (or the error) with `expected`.
function(expect kind content expected)
  set(input "${WORK}/case.${kind}")
  set(output "${WORK}/case.h")
  file(WRITE "${input}" "${content}")
  file(REMOVE "${output}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DKIND=${kind} -DINPUT=${input} -DOUTPUT=${output}
                          -DENUM=kind:Kind -DNAMESPACE=texts -P ${DATA}
                  RESULT_VARIABLE status ERROR_VARIABLE error)
  if(status EQUAL 0)
    file(READ "${output}" got)
    string(REGEX REPLACE "^(#pragma once\n)?// Written by [^\n]*\n" "" got "${got}")
  else()
    string(REGEX REPLACE "[ \n]+" " " got "${error}")
    string(FIND "${got}" "${expected}" at)
    if(at GREATER_EQUAL 0)
      return()
    endif()
  endif()
  if(NOT got STREQUAL expected)
    message(SEND_ERROR "${kind} file:\n${content}\nexpected:\n${expected}\ngot:\n${got}")
  endif()
endfunction()

# A CSV table: comments kept, texts with ; [ ] and spaces kept, trailing
# empty cells left out, the enum column's words in their type.
expect(csv [=[# slider rows
name,kind,text,min,max
"HScroll1",Bar,"  a; [b] ",1,-2.5
"Label1",Label,"",,
]=] [=[// slider rows
{"HScroll1", Kind::Bar, "  a; [b] ", 1, -2.5},
{"Label1", Kind::Label, ""},
]=])
expect(csv "name,kind\n\"a\",Bar,3\n" "case.csv:2: 3 cells, the header names 2")
expect(csv "name,kind,min,max\n\"a\",Bar,,4\n" "case.csv:2: the min cell is empty")
expect(csv "name,kind\n\"a\" x,Bar\n" "case.csv:2: a quoted cell must end the cell")
expect(csv "name,kind\nx y,Bar\n" "case.csv:2: 'x y' is neither \"text\" nor a word or number")
expect(csv "# only a comment\n" "case.csv: no header line")

# A TOML file of texts: texts, lists on one line and over several, comments.
expect(toml [=[# heads
kTitle = "报告; 第 [1] 页"  # after the logo
kColumns = ["a", "b c"]
kNotes = [
    "one",
    "two",
]
]=] [=[

#include <array>

namespace texts {
// heads
inline constexpr const char* kTitle = "报告; 第 [1] 页";  // after the logo
inline constexpr std::array<const char*, 2> kColumns{"a", "b c"};
inline constexpr std::array<const char*, 2> kNotes{"one", "two"};

}  // namespace texts
]=])
expect(toml "kA = \"x\"\nkB = 'y'\n" "case.toml:2: expected kName = \"text\" or kName = [\"text\", ...]")
expect(toml "kA = [\"x\", 3]\n" "case.toml:1: kA's list holds something other than \"texts\"")
expect(toml "kA = [\n  \"x\",\n" "case.toml: the list kA is not closed")
expect(toml "# fine\nkA = \"a\\nb\"\n" "case.toml:2: a backslash cannot stand in a data file")
