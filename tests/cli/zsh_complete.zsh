# SPDX-License-Identifier: MIT
# Prints the completions zsh offers at the end of each command line given, one a line, each
# line's followed by a line "--".
#   zsh -f zsh_complete.zsh FOLDER 'kurvilo-cli run --mode ' 'kurvilo-cli ' ...
# FOLDER holds _kurvilo-cli. Each line is typed into one interactive zsh on a pseudo-terminal
# (zpty) and completed with a TAB; compadd, wrapped, prints every match it is given.
zmodload zsh/zpty || exit 3
zpty shell zsh -f -i
zpty -w shell "PROMPT=''; fpath=(${(q)1} \$fpath); autoload -Uz compinit; compinit -u -D"
zpty -w shell 'compadd() { if [[ "$*" == *-[OAD]\ * ]]; then builtin compadd "$@"; return; fi; local -a found; builtin compadd -O found "$@"; print -rl -- "<<"${^found}">>"; builtin compadd "$@"; }'
# The completion system empties comppostfuncs after each use: every TAB sets it again.
zpty -w shell 'finished() { print -r -- "<<DONE>>"; }'
zpty -w shell 'complete-marked() { comppostfuncs=(finished); zle complete-word; }; zle -N complete-marked'
zpty -w shell "zstyle ':completion:*' insert-tab false; bindkey '^I' complete-marked; print READY"
typeset line
integer i
for (( i = 0; i < 1000; i++ )); do
    zpty -rt shell line || { sleep 0.01; continue; }
    [[ $line == READY* ]] && break
done
shift
for typed in "$@"; do
    zpty -w -n shell "$typed"$'\t'
    typeset -a matches=()
    for (( i = 0; i < 1000; i++ )); do
        if zpty -rt shell line; then
            matches+=(${(M)${(f)line}:#*<<*>>*})
            [[ $line == *'<<DONE>>'* ]] && break
        else
            sleep 0.01
        fi
    done
    (( i < 1000 )) || { print -u2 "no completion of '$typed' within ten seconds"; exit 2 }
    matches=(${(ou)${${matches:#*<<DONE>>*}#*<<}%>>*})
    (( $#matches )) && print -rl -- $matches
    print -r -- --
    # The next line starts on an empty one: what the TAB inserted goes.
    zpty -w -n shell $'\C-u'
done
zpty -d shell
