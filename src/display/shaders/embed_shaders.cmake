# Compiles the built-in shaders' GLSL texts into the core library as C strings, so the
# program needs no files beside it. Editing a shader re-runs this at the next build.
set(SHADER_DIR ${CMAKE_SOURCE_DIR}/src/display/shaders)
set(SHADER_OUTPUT ${CMAKE_BINARY_DIR}/generated/builtin_shaders.cpp)
set(SHADER_TABLE
    "kNoShaderShader:no_shader.glsl"
    "kDotmaskShader:dotmask.glsl"
    "kScanlinesShader:scanlines.glsl"
    "kCurvedCrtShader:curved_crt.glsl"
    "kApertureShader:aperture.glsl")
set(shader_code "// Generated from src/display/shaders/*.glsl: edit those files instead.\n")
string(APPEND shader_code "#include \"display/builtin_shaders.h\"\n")
foreach(entry ${SHADER_TABLE})
  string(REPLACE ":" ";" parts ${entry})
  list(GET parts 0 symbol)
  list(GET parts 1 file)
  file(READ ${SHADER_DIR}/${file} text)
  string(APPEND shader_code "\nconst char ${symbol}[] = R\"glsl(${text})glsl\";\n")
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SHADER_DIR}/${file})
endforeach()
file(CONFIGURE OUTPUT ${SHADER_OUTPUT} CONTENT "${shader_code}" @ONLY)
target_sources(noltace_core PRIVATE ${SHADER_OUTPUT})
# Other builds of the core (the fuzz targets') take their sources from this list.
list(APPEND CORE_SOURCES ${SHADER_OUTPUT})
