# zq_embed_art(<out-var> <symbol> <file> [<symbol> <file> ...])
# Compiles each file's bytes into the program as zq::art::<symbol>.
function(zq_embed_art out_var)
  set(sources)
  set(args ${ARGN})
  while(args)
    list(POP_FRONT args symbol file)
    set(input ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    set(output ${CMAKE_CURRENT_BINARY_DIR}/generated/art/${symbol}.cpp)
    add_custom_command(
      OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DSYMBOL=${symbol} -DOUTPUT=${output}
              -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake
      DEPENDS ${input} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake
      COMMENT "Embedding ${file}"
      VERBATIM)
    list(APPEND sources ${output})
  endwhile()
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()
