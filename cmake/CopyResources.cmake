# Copies the authored resources into the bundle; the skin manifest is an input of tools/skingen, not a
# resource of its own.
file(COPY ${SRC}/ DESTINATION ${DST} PATTERN "skin" EXCLUDE)
