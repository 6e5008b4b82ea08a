# SPDX-License-Identifier: MIT
# Prints the completions bash offers at the end of a command line, one a line.
#   bash bash_complete.bash SCRIPT 'kurvilo-cli run --mode=po' kurvilo-cli run --mode = po
# SCRIPT is the completion of kurvilo-cli; bash-completion's own functions are loaded first, as
# an interactive shell has them. The line is as typed, the words as readline splits it.
source /usr/share/bash-completion/bash_completion || exit 3
source "$1" || exit 3
COMP_LINE=$2
COMP_POINT=${#COMP_LINE}
shift 2
COMP_WORDS=("$@")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
COMPREPLY=()
_kurvilo_cli
printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort -u | sed '/^$/d'
