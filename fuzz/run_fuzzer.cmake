# Runs a libFuzzer target for a bounded time; the fuzz tests call it.
#
#   cmake -DFUZZER=EXE -DSECONDS=N -DWORK_DIR=DIR -P run_fuzzer.cmake -- [ARG...]
#
# Each ARG is a libFuzzer option (-name=value) or a directory of seed inputs.
# The fuzzer starts from the seeds and writes the inputs it finds into
# DIR/corpus, emptied first, so that the seed directories stay as they are.
# A crash, a sanitizer report, a leak, a slow input or a failed check fails
# the test; the input that did it is kept in DIR/artifacts (earlier findings
# stay there too) and named at the end of the output with the command that
# replays it.
cmake_minimum_required(VERSION 3.25)

foreach(var FUZZER SECONDS WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzzer.cmake: ${var} is not set")
  endif()
endforeach()

set(options "")
set(seeds "")
set(seen_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  set(arg "${CMAKE_ARGV${i}}")
  if(NOT seen_separator)
    if(arg STREQUAL "--")
      set(seen_separator TRUE)
    endif()
  elseif(arg MATCHES "^-")
    list(APPEND options "${arg}")
  else()
    list(APPEND seeds "${arg}")
  endif()
endforeach()

get_filename_component(name "${FUZZER}" NAME)
set(corpus "${WORK_DIR}/corpus")
set(artifacts "${WORK_DIR}/artifacts")
set(log "${WORK_DIR}/${name}.log")
file(REMOVE_RECURSE "${corpus}")
file(MAKE_DIRECTORY "${corpus}" "${artifacts}")

set(seed_count 0)
foreach(dir IN LISTS seeds)
  file(GLOB files "${dir}/*")
  list(LENGTH files n)
  math(EXPR seed_count "${seed_count} + ${n}")
endforeach()
message("${name}: ${SECONDS} s from ${seed_count} seeds; log in ${log}")

# The fuzzer stops itself after SECONDS; the time-out here only ends one
# that hangs outside the inputs (libFuzzer's -timeout covers those).
math(EXPR hard_limit "${SECONDS} + 120")
execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          "-artifact_prefix=${artifacts}/" ${options} "${corpus}" ${seeds}
  WORKING_DIRECTORY "${WORK_DIR}"
  OUTPUT_FILE "${log}"
  ERROR_FILE "${log}"
  TIMEOUT ${hard_limit}
  RESULT_VARIABLE status)

# Lines are cut out of the text by position rather than taken as a CMake
# list: the fuzzer's lines may hold semicolons.
file(READ "${log}" text)
string(PREPEND text "\n")
string(REGEX MATCHALL "\n(#[0-9]+[ \t]+INITED|Done [0-9]+ runs|stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb))[^\n]*"
       summary "${text}")
if(status STREQUAL "0" AND text MATCHES "\nDone [0-9]+ runs")
  string(CONCAT summary ${summary})
  string(STRIP "${summary}" summary)
  message("${summary}")
  return()
endif()

# The inputs libFuzzer says it wrote (one it found before has the same name).
string(REGEX MATCHALL "Test unit written to [^\n]*" written "${text}")

# The end of the log, without the dictionary libFuzzer recommends.
string(REGEX REPLACE "\n\"[^\n]*" "" text "${text}")
string(LENGTH "${text}" length)
if(length GREATER 12000)
  math(EXPR from "${length} - 12000")
  string(SUBSTRING "${text}" ${from} -1 text)
  string(REGEX REPLACE "^[^\n]*\n" "...\n" text "${text}")
endif()
string(STRIP "${text}" tail)

set(found "")
foreach(line IN LISTS written)
  string(REGEX REPLACE "^Test unit written to " "" input "${line}")
  string(APPEND found "input kept as ${input}\n  replay: ${FUZZER} ${input}\n")
endforeach()
if(found STREQUAL "")
  set(found "no input was kept\n")
endif()
# Printed as it is: an error message would be reflowed.
message("${tail}\n\n${name} failed (exit status ${status}):\n${found}")
message(FATAL_ERROR "${name} failed")
