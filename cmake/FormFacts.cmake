# The year box's limit as window/form1.ui sets it, for the logic, which gives the box that
# limit back in 西暦 mode and takes no Western year of more digits: form1_facts.h.

set(tarvelo_form ${CMAKE_CURRENT_LIST_DIR}/../window/form1.ui)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tarvelo_form})
file(READ ${tarvelo_form} tarvelo_form_text)
string(REGEX MATCHALL "<property name=\"maxLength\"><number>[0-9]+</number>" tarvelo_limits
       "${tarvelo_form_text}")
list(LENGTH tarvelo_limits tarvelo_limit_count)
if(NOT tarvelo_limit_count EQUAL 1)
  message(FATAL_ERROR "window/form1.ui: one maxLength expected, the year box's; found ${tarvelo_limit_count}")
endif()
string(REGEX REPLACE ".*<number>([0-9]+)</number>" "\\1" TARVELO_TEXT1_MAX_LENGTH "${tarvelo_limits}")
string(REPEAT 9 ${TARVELO_TEXT1_MAX_LENGTH} TARVELO_LARGEST_YEAR)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/form/form1_facts.h CONTENT
"// Made from window/form1.ui by cmake/FormFacts.cmake as the project is configured.
#pragma once

namespace tarvelo::form {

// The most characters the year box takes at the start, in 西暦 mode.
inline constexpr int kText1MaxLength = @TARVELO_TEXT1_MAX_LENGTH@;
// The largest Western year the dialog takes: as many nines as the box takes digits.
inline constexpr int kLargestWesternYear = @TARVELO_LARGEST_YEAR@;

}  // namespace tarvelo::form
" @ONLY)
