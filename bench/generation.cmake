# Generation benchmark: kavro-generate run as a process over N, and libxlsxwriter writing the
# same cells and formats (linked here only, as the comparison).
if(TARGET kavro-generate AND TARGET kavro_template)
  add_executable(generation_bench ${CMAKE_CURRENT_LIST_DIR}/generation_bench.cpp)
  target_link_libraries(generation_bench PRIVATE kavro_workbook)
  target_compile_definitions(generation_bench PRIVATE
    KAVRO_GENERATE_EXE="$<TARGET_FILE:kavro-generate>"
    KAVRO_TEMPLATE_FILE="${CMAKE_BINARY_DIR}/support/NutrTplt.xlsm"
    KAVRO_BMP_LIST_FILE="${CMAKE_BINARY_DIR}/support/allBMPkavro.csv")
  add_dependencies(generation_bench kavro-generate kavro_template kavro_support_files)
  pkg_check_modules(XLSXWRITER IMPORTED_TARGET xlsxwriter)
  if(XLSXWRITER_FOUND)
    target_link_libraries(generation_bench PRIVATE PkgConfig::XLSXWRITER)
    target_compile_definitions(generation_bench PRIVATE KAVRO_HAVE_XLSXWRITER)
  endif()
endif()
