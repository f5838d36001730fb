# The installation tool and the rule that assembles build/dist from the sources under install/.
file(GLOB ZUV_INSTALL_TOOL_SRC CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tool/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tool/*.h)
add_executable(zuv_install_tool ${ZUV_INSTALL_TOOL_SRC})
target_include_directories(zuv_install_tool PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(zuv_install_tool PRIVATE zuv_platform_gui zuv_platform Qt6::Gui SQLite::SQLite3)
set_target_properties(zuv_install_tool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/install)

file(GLOB_RECURSE ZUV_INSTALL_DATA CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/texts/*.txt ${CMAKE_CURRENT_SOURCE_DIR}/test/*.txt
     ${CMAKE_CURRENT_SOURCE_DIR}/settings/*.txt ${CMAKE_CURRENT_SOURCE_DIR}/help/*.txt
     ${CMAKE_CURRENT_SOURCE_DIR}/typen/*.txt
     ${CMAKE_CURRENT_SOURCE_DIR}/zuvinfo.txt ${CMAKE_CURRENT_SOURCE_DIR}/reports/*.rpt)
# The files the tool writes: a deleted one is written again at the next build.
set(ZUV_DIST_FILES Zuv50.ini Sys.mda zuv.sdb zuv40typ.sdb zuvinfo.txt ZUVDESK.chm ZUVTYP.chm zuv_symb_druckkopf.bmp zuv_splash.bmp)
foreach(colour blau gelb bunt orange violett braun rot hellgrün grün)
  list(APPEND ZUV_DIST_FILES zuv_symb_${colour}.wmf)
endforeach()
file(GLOB ZUV_REPORT_LAYOUTS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/reports CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/reports/*.rpt)
list(APPEND ZUV_DIST_FILES ${ZUV_REPORT_LAYOUTS})
list(TRANSFORM ZUV_DIST_FILES PREPEND ${ZUV_DIST_DIR}/)
add_custom_command(
  OUTPUT ${ZUV_DIST_FILES}
  COMMAND zuv_install_tool ${CMAKE_CURRENT_SOURCE_DIR} ${ZUV_DIST_DIR}
  DEPENDS zuv_install_tool ${ZUV_INSTALL_DATA}
  COMMENT "Assembling the installation folder ${ZUV_DIST_DIR}"
  VERBATIM)
add_custom_target(zuv_dist ALL DEPENDS ${ZUV_DIST_FILES})
