        SECTION .text:CODE
        PUBLIC  delay_loop
; Burns r0 iterations of a four-cycle loop.
delay_loop:
        SUBS    r0, r0, #1
        BNE     delay_loop
        BX      lr
        END
