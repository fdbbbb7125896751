# Fails when an #include runs against the folders' order (docs/architecture.md):
#   platform/  <  diary/ (diary/import/, diary/sharing/)  <  view/, dialogs/  <  phone/  <  app/, cli/
# A folder includes only folders below it; view/ and dialogs/ are siblings
# and never include each other; diary/import/ and diary/sharing/ neither; and the
# core (everything outside a qt/ folder, app/ and cli/) never includes Qt.
# Run as: cmake -DSOURCE_DIR=<checkout> -P include_rules.cmake
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# folder -> the project folders it must not include
set(rules
  "platform|diary/ view/ dialogs/ phone/ app/ cli/"
  "diary|view/ dialogs/ phone/ app/ cli/"
  "diary/import|diary/sharing/"
  "diary/sharing|diary/import/"
  "view|dialogs/ phone/ app/ cli/"
  "dialogs|view/ phone/ app/ cli/"
  "phone|app/ cli/"
)

set(violations "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/platform/*.h" "${SOURCE_DIR}/platform/*.cpp"
  "${SOURCE_DIR}/diary/*.h" "${SOURCE_DIR}/diary/*.cpp"
  "${SOURCE_DIR}/view/*.h" "${SOURCE_DIR}/view/*.cpp"
  "${SOURCE_DIR}/dialogs/*.h" "${SOURCE_DIR}/dialogs/*.cpp"
  "${SOURCE_DIR}/phone/*.h" "${SOURCE_DIR}/phone/*.cpp")
foreach(source IN LISTS sources)
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(rule IN LISTS rules)
    string(REPLACE "|" ";" fields "${rule}")
    list(GET fields 0 folder)
    list(GET fields 1 banned)
    if(NOT source MATCHES "^${folder}/")
      continue()
    endif()
    string(REPLACE " " ";" banned "${banned}")
    foreach(line IN LISTS includes)
      foreach(target IN LISTS banned)
        if(line MATCHES "\"${target}")
          list(APPEND violations "${source}: ${line}  (${folder}/ must not include ${target})")
        endif()
      endforeach()
    endforeach()
  endforeach()
  # The core: no Qt header outside the qt/ folders.
  if(NOT source MATCHES "/qt/")
    foreach(line IN LISTS includes)
      if(line MATCHES "<Q[A-Za-z]*>" OR line MATCHES "<Qt[A-Za-z]*/")
        list(APPEND violations "${source}: ${line}  (the core must not include Qt)")
      endif()
    endforeach()
  endif()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "includes against the folders' order:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files follow the include rules")
