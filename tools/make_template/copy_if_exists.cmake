# cmake -DSRC=... -DDST=... -P copy_if_exists.cmake: copies SRC to DST when SRC exists and
# differs, so a data file that appears later in the source tree is picked up by the next build.
if(EXISTS "${SRC}")
  get_filename_component(dir "${DST}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${SRC}" "${DST}" ONLY_IF_DIFFERENT)
endif()
