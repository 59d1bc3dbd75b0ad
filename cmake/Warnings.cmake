# Every target of the project gets the same warning set.
add_compile_options(-Wall -Wextra)
if(PARLAVISTA_WERROR)
  add_compile_options(-Werror)
endif()
if(PARLAVISTA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
